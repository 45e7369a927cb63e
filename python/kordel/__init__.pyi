from collections.abc import Iterable, Iterator
from typing import Any

from ._records import (
    Change as Change,
    CheckDigit as CheckDigit,
    Message as Message,
    Position as Position,
    Record as Record,
    Result as Result,
    Suggestion as Suggestion,
)

__version__: str
FRAME_FIELDS: tuple[str, ...]

class DecodeIterator(Iterator[Record]):
    def __iter__(self) -> DecodeIterator: ...
    def __next__(self) -> Record: ...

def decode(
    vin: str,
    year: int | None = None,
    *,
    suggest: bool = False,
    explain: bool = False,
) -> Record: ...
def decode_many(
    vins: Iterable[str | float],
    year: int | None = None,
    *,
    suggest: bool = False,
    explain: bool = False,
) -> DecodeIterator: ...
def decode_frame(vins: Iterable[Any], year: int | None = None) -> Any: ...
