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
    positions: NotRequired[list[Position] | None]


class CheckDigit(TypedDict):
    given: str
    expected: str | None
    valid: bool


class Change(TypedDict):
    position: int
    before: str | None
    after: str | None
    # "engine: 304 2v -> 360 4v"; None where the position names no field
    meaning: str | None


class Suggestion(TypedDict):
    vin: str
    edit: Literal[
        "look_alike",
        "swap",
        "removal",
        "insertion",
        "substitution",
        "two_look_alikes",
        "filled",
        "unknown_digit",
    ]
    changes: list[Change]
    model_years: list[int]
    summary: str


class Record(TypedDict):
    vin: str
    # the VIN as read: blanks and dashes dropped, upper case, "*" and "_" as "?"
    vin_read: str
    results: NotRequired[list[Result]]
    error: NotRequired[str]
    check_digit: CheckDigit | None
    # the check-digit and sequence-number warnings
    warnings: list[str]
    suggestions: NotRequired[list[Suggestion]]
