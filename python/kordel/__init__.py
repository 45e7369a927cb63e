"""Decode the VINs of one maker's vintage passenger cars of 1968-1988.

Kordel reads the 13-character VINs of model years 1968-1980 and the
17-character VINs of 1981-1988 and tells exactly what a VIN says: model year,
make, model, series, body, engine, transmission, assembly plant, production
number and, for the later cars, the restraints and the check digit.

decode(vin, year=None, *, suggest=False, explain=False) returns the record of
one VIN as a dict, exactly what ``kordel-decode --format json`` writes for it
(with --year, --suggest and --explain as asked); decode_many(vins, ...) decodes
any iterable of VINs lazily, one record at a time; decode_frame(vins) turns a
column of VINs into a pandas DataFrame of their main fields:

    >>> import kordel
    >>> record = kordel.decode("A8A855H100001", year=1978)
    >>> record["results"][0]["fields"]["model"]
    'Matador'
    >>> [r["results"][0]["status"] for r in kordel.decode_many(["A0A857H123442", "A0A857Q123442"])]
    ['decoded', 'rejected']

A record holds ``vin`` and ``vin_read`` (as read: blanks and dashes dropped,
upper case); ``results``, one per model year tried (a 13-character
VIN whose year digit could belong to either decade is decoded for each
candidate), each with ``model_year``, ``status`` ("decoded", "incomplete",
"rejected" or "unknown"), ``fields``, ``production_number``, ``report`` (the
report's lines), ``missing_fields`` and ``messages`` (``text``, ``kind``,
``position``, ``accepted``); or
``error`` instead of ``results`` when the VIN is of the wrong length or the
year is not one of its candidates; ``check_digit`` (``given``,
``expected``, ``valid``; None for 13 characters) and ``warnings``. The TypedDicts Record,
Result, Message, CheckDigit, Suggestion, Change and Position describe them.
"""

from __future__ import annotations

from collections.abc import Iterable
from typing import Any

from ._kordel import DecodeIterator, __version__, decode, decode_many
from ._records import (
    Change,
    CheckDigit,
    Message,
    Position,
    Record,
    Result,
    Suggestion,
)

__all__ = [
    "decode",
    "decode_many",
    "decode_frame",
    "DecodeIterator",
    "Record",
    "Result",
    "Message",
    "CheckDigit",
    "Suggestion",
    "Change",
    "Position",
    "FRAME_FIELDS",
]

# decode_frame's field columns, both schemes' fields in the record's order.
FRAME_FIELDS = (
    "year",
    "make",
    "model",
    "series",
    "body",
    "vehicle_type",
    "engine",
    "trans",
    "restraints",
    "check_digit",
    "plant",
)

# The status a VIN gets in decode_frame: the first of these any result has.
_STATUS_ORDER = ("decoded", "incomplete", "rejected", "unknown")


def _frame_row(record: Record) -> dict[str, Any]:
    row: dict[str, Any] = {"vin": record["vin"]}
    results = record.get("results", [])
    if "error" in record:
        row["status"] = "error"
    else:
        statuses = [r["status"] for r in results]
        row["status"] = next((s for s in _STATUS_ORDER if s in statuses), statuses[0])
    shown = [r for r in results if r["fields"] is not None]
    fields = shown[0]["fields"] if shown and shown[0]["fields"] else {}
    years = []
    for result in shown:
        year = result["model_year"]
        text = (result["fields"] or {}).get("year")
        if year is None and text and text.isdigit():
            year = int(text)
        if year is not None:
            years.append(year)
    row["model_years"] = tuple(years)
    for name in FRAME_FIELDS:
        row[name] = fields.get(name)
    row["production_number"] = results[0]["production_number"] if results else None
    row["error"] = record.get("error")
    return row


def decode_frame(vins: Iterable[Any], year: int | None = None) -> Any:
    """Decode a column of VINs; return a pandas DataFrame, a row per VIN.

    vins: a pandas Series (its index is kept) or any iterable of str; missing
        cells (None, NaN, pandas.NA) give a row of status "error".
    year: as for decode().

    The columns: vin; status ("decoded" when some model year decodes, else
    "rejected", "unknown", or "error" for a VIN of the wrong length); model_years,
    the tuple of the years it decodes for; the fields of its first decode (year,
    make, model, series, body, vehicle_type, engine, trans, restraints,
    check_digit, plant; None where its scheme has no such field);
    production_number; and error. Needs pandas.
    """
    try:
        import pandas as pd
    except ImportError as error:
        raise ImportError("kordel.decode_frame needs pandas (pip install pandas)") from error
    series = vins if isinstance(vins, pd.Series) else pd.Series(list(vins), dtype=object)
    cells = series.astype(object).where(series.notna(), "")
    rows = [_frame_row(record) for record in decode_many(cells, year=year)]
    columns = ["vin", "status", "model_years", *FRAME_FIELDS, "production_number", "error"]
    frame = pd.DataFrame(rows, index=series.index, columns=columns)
    frame["production_number"] = frame["production_number"].astype("Int64")
    return frame
