"""The record's types: what decode() and decode_many() return, as TypedDicts."""

from typing import Literal, NotRequired, TypedDict


class Message(TypedDict):
    text: str
    kind: Literal["error", "warning"]
    position: int | None
    accepted: str | None


class Position(TypedDict):
    position: int
    character: str
    field: str | None
    meaning: str
    text: str | None


class Result(TypedDict):
    model_year: int | None
    status: Literal["decoded", "rejected", "unknown"]
    # year, make, model, ... as the VIN's scheme has them; None where the
    # report shows "Error"
    fields: dict[str, str | None] | None
    production_number: int | None
    report: list[str] | None
    messages: list[Message]
    positions: NotRequired[list[Position] | None]


class CheckDigit(TypedDict):
    given: str
    expected: str | None
    valid: bool


class Change(TypedDict):
    position: int
    before: str | None
    after: str | None


class Suggestion(TypedDict):
    vin: str
    edit: Literal["look_alike", "swap", "removal", "insertion", "substitution"]
    changes: list[Change]
    model_years: list[int]
    summary: str


class Record(TypedDict):
    vin: str
    results: NotRequired[list[Result]]
    error: NotRequired[str]
    check_digit: CheckDigit | None
    suggestions: NotRequired[list[Suggestion]]
