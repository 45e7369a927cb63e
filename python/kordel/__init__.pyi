from collections.abc import Iterable, Iterator
from typing import Literal, NotRequired, TypedDict


__version__: str

class Message(TypedDict):
    text: str
    kind: Literal["error", "warning"]
    position: int | None
    accepted: str | None

class Result(TypedDict):
    model_year: int | None
    # "incomplete": a report, but a field not found or a decoder message given
    status: Literal["decoded", "incomplete", "rejected", "unknown"]
    # year, make, model, ... as the VIN's scheme has them; None where the
    # report shows "Error"
    fields: dict[str, str | None] | None
    production_number: int | None
    report: list[str] | None
    # the fields the report did not find; empty unless incomplete
    missing_fields: list[str]
    messages: list[Message]

class CheckDigit(TypedDict):
    given: str
    expected: str | None
    valid: bool

class Record(TypedDict):
    vin: str
    # the VIN as read: blanks and dashes dropped, upper case, "*" and "_" as "?"
    vin_read: str
    results: NotRequired[list[Result]]
    error: NotRequired[str]
    check_digit: CheckDigit | None
    # the check-digit and sequence-number warnings
    warnings: list[str]

class DecodeIterator(Iterator[Record]):
    def __iter__(self) -> DecodeIterator: ...
    def __next__(self) -> Record: ...

def decode(vin: str, year: int | None = None) -> Record: ...
def decode_many(vins: Iterable[str], year: int | None = None) -> DecodeIterator: ...
