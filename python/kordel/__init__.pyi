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
    status: Literal["decoded", "rejected", "unknown"]
    # year, make, model, ... as the VIN's scheme has them; None where the
    # report shows "Error"
    fields: dict[str, str | None] | None
    production_number: int | None
    report: list[str] | None
    messages: list[Message]

class CheckDigit(TypedDict):
    given: str
    expected: str | None
    valid: bool

class Record(TypedDict):
    vin: str
    results: NotRequired[list[Result]]
    error: NotRequired[str]
    check_digit: CheckDigit | None

class DecodeIterator(Iterator[Record]):
    def __iter__(self) -> DecodeIterator: ...
    def __next__(self) -> Record: ...

def decode(vin: str, year: int | None = None) -> Record: ...
def decode_many(vins: Iterable[str], year: int | None = None) -> DecodeIterator: ...
