"""Decode the VINs of one maker's vintage passenger cars of 1968-1988.

Kordel reads the 13-character VINs of model years 1968-1980 and the
17-character VINs of 1981-1988 and tells exactly what a VIN says: model year,
make, model, series, body, engine, transmission, assembly plant, production
number and, for the later cars, the restraints and the check digit.

decode(vin, year=None) returns the record of one VIN as a dict, exactly what
``kordel-decode --format json`` writes for it; decode_many(vins, year=None)
decodes any iterable of VINs lazily, one record at a time:

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
``expected``, ``valid``; None for 13 characters) and ``warnings``.
"""

from ._kordel import DecodeIterator, __version__, decode, decode_many

__all__ = ["decode", "decode_many", "DecodeIterator"]
