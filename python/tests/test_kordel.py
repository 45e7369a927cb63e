"""kordel.decode and kordel.decode_many against kordel-decode --format json.

kordel-decode is taken from $KORDEL_DECODE, else from the PATH.
"""

import doctest
import gc
import io
import itertools
import json
import os
import shutil
import subprocess
import tracemalloc

import pytest

import kordel

KORDEL_DECODE = os.environ.get("KORDEL_DECODE") or shutil.which("kordel-decode")

VINS = [
    "A0A857H123442",  # settles its own model year
    "A8A855H100001",  # 1968 or 1978
    "A0A455H100001",  # 1970 or 1980
    "a8a855h100001",  # lower case
    "  A8A855H100001\r",  # blanks and a CR at the ends are ignored
    "A0A857Q123442",  # rejected: no such engine code
    "A1F031BQ00011",  # rejected at the plant
    "A1A365C100001",  # a message the decoder writes to standard output
    "A9X855H100001",  # a warning, then decoded
    "A3A350A100001",  # names no model line
    "A1AX50H100001",  # names no model line
    "A1A050H700000",  # production number 0
    "A0A857H12344",  # 12 characters
    "1AMCM3877BK100021",  # check digit 7 where the rule computes 5
    "1AMCW385ODK100001",  # a letter O at the check digit
    "1AMCQ3877BK100021",  # rejected body
    "1HGCM82633A123456",  # another maker's VIN
    "1AMCM3877BK1000211",  # 18 characters
    "Ä8A855H100001",  # non-ASCII, 13 characters
    "1AMCM3877BK10002€",  # non-ASCII, 17 characters
    "A8A855H1000\u4e2d\U0001f697",  # characters of three and four UTF-8 bytes
    "A8A855H10000\udcff",  # the byte 0xFF as surrogateescape reads it
    "A8A855H10000\ud800",  # a lone surrogate no handler stands bytes for
    "A" * 1024,  # as long as kordel-decode reads a line
]


def kordel_decode(vins, year, *more):
    """What kordel-decode writes for these VINs, one a line, as json.loads reads it."""
    assert KORDEL_DECODE, "kordel-decode not found: set KORDEL_DECODE"
    args = [KORDEL_DECODE, "--format", "json", *more] + (["--year", str(year)] if year else [])
    lines = "".join(v + "\n" for v in vins)
    # The bytes kordel.decode reads for each str (see vin_bytes in the module).
    data = b"".join(
        line.encode("utf-8", "surrogateescape" if "\ud800" not in line else "surrogatepass")
        for line in lines.splitlines(keepends=True)
    )
    done = subprocess.run(args, input=data, capture_output=True, check=False)
    assert done.returncode in (0, 1), done.stderr
    return [json.loads(line) for line in done.stdout.splitlines()]


@pytest.mark.parametrize("year", [None, 68, 78, 1980])
def test_records_equal_kordel_decode(year):
    expected = kordel_decode(VINS, year)
    assert len(expected) == len(VINS)
    assert [kordel.decode(v, year) for v in VINS] == expected
    assert list(kordel.decode_many(VINS, year=year)) == expected
    assert list(kordel.decode_many(iter(VINS), year)) == expected


@pytest.mark.parametrize("year", [None, 1978])
def test_suggest_and_explain_add_what_kordel_decode_adds(year):
    vins = VINS[:17]
    assert [kordel.decode(v, year, suggest=True, explain=True) for v in vins] == kordel_decode(
        vins, year, "--suggest", "--explain"
    )
    assert list(kordel.decode_many(vins, year, suggest=True)) == kordel_decode(vins, year, "--suggest")


def test_numpy_integers_and_missing_cells():
    numpy = pytest.importorskip("numpy")
    pandas = pytest.importorskip("pandas")
    expected = kordel.decode("A8A855H100001", 1978)
    for year in (numpy.int64(1978), numpy.int32(78), numpy.uint16(1978)):
        assert kordel.decode("A8A855H100001", year) == expected
    with pytest.raises(TypeError, match="not numpy.bool"):
        kordel.decode("A8A855H100001", numpy.bool_(True))
    with pytest.raises(TypeError, match="not float"):
        kordel.decode("A8A855H100001", 1978.0)
    # A missing cell is the record of an empty VIN: an error, not an exception.
    empty = [kordel.decode("")]
    assert empty[0]["error"] == "13 or 17 Characters only."
    cells = [float("nan"), numpy.float64("nan"), pandas.NA, pandas.NaT]
    assert list(kordel.decode_many(cells)) == empty * len(cells)
    assert kordel.decode(float("nan")) == empty[0]


def test_decode_frame_gives_a_row_per_vin_with_its_main_fields():
    pandas = pytest.importorskip("pandas")
    vins = pandas.Series(
        ["A8A855H100001", "1AMCM3877BK100021", None, "A0A857Q123442", "A3A350A100001", "x"],
        index=[10, 11, 12, 13, 14, 15],
    )
    frame = kordel.decode_frame(vins)
    assert list(frame.index) == [10, 11, 12, 13, 14, 15]
    assert list(frame["status"]) == ["decoded", "decoded", "error", "rejected", "unknown", "error"]
    assert list(frame["model_years"]) == [(1968, 1978), (1981,), (), (), (), ()]
    assert frame.loc[10, "model"] == "Ambassador" and frame.loc[10, "series"] == "DPL"
    assert frame.loc[11, "restraints"] == "Limited interior and seatbelts"
    assert frame.loc[11, "series"] is None and frame.loc[11, "production_number"] == 21
    assert frame.loc[12, "error"] == "13 or 17 Characters only."
    assert pandas.isna(frame.loc[12, "production_number"])
    assert list(kordel.decode_frame(["A8A855H100001"], year=78)["model_years"]) == [(1978,)]


def test_the_records_hold_the_declared_members_and_the_metadata_names_the_version():
    from importlib import metadata

    from kordel import Change, CheckDigit, Message, Position, Record, Result, Suggestion

    # Each dict of real records against its TypedDict (which the stub follows, by
    # stubtest): a member the record gains, loses or renames fails here.
    def holds(value, declared):
        assert declared.__required_keys__ <= set(value) <= set(declared.__annotations__), (
            declared.__name__,
            sorted(value),
        )
        return value

    seen = set()
    for vin in VINS + ["A1F031BQ00O11", "1AMCM3877BK10002"]:
        for record in (kordel.decode(vin), kordel.decode(vin, suggest=True, explain=True)):
            seen |= set(holds(record, Record))
            if record["check_digit"] is not None:
                holds(record["check_digit"], CheckDigit)
            for result in record.get("results", []):
                seen |= {f"result.{key}" for key in holds(result, Result)}
                for message in result["messages"]:
                    holds(message, Message)
                for position in result.get("positions") or []:
                    holds(position, Position)
            for suggestion in record.get("suggestions", []):
                for change in holds(suggestion, Suggestion)["changes"]:
                    holds(change, Change)
    # Every declared member of a record and a result came up at least once.
    assert seen == set(Record.__annotations__) | {f"result.{key}" for key in Result.__annotations__}
    try:
        assert metadata.version("kordel") == kordel.__version__
    except metadata.PackageNotFoundError:
        pytest.skip("kordel is not installed here (its .dist-info comes with an installation)")


def test_a_text_file_decodes_line_by_line():
    text = "A0A857H123442\n A1F031BQ00011\r\n1AMCM3877BK100021"
    assert list(kordel.decode_many(io.StringIO(text))) == kordel_decode(text.splitlines(), None)


def test_records_are_plain_objects_and_the_examples_hold():
    examples = doctest.testmod(kordel)
    assert examples.attempted > 0 and examples.failed == 0
    record = kordel.decode("A8A855H100001")
    assert [r["model_year"] for r in record["results"]] == [1968, 1978]
    assert type(record) is dict and type(record["results"]) is list


def first(iterable):
    return next(iter(iterable))


@pytest.mark.parametrize(
    "call, error, message",
    [
        (lambda: kordel.decode(None), TypeError, "vin must be a str, not NoneType"),
        (lambda: kordel.decode(b"A8A855H100001"), TypeError, "vin must be a str, not bytes"),
        (lambda: kordel.decode("A8A855H\x00100001"), ValueError, "vin holds a NUL character"),
        (lambda: kordel.decode("A" * 10_000_000), ValueError, r"vin is too long \(10000000 "),
        (lambda: kordel.decode("é" * 600), ValueError, "no more than 1024 bytes"),
        (lambda: kordel.decode("A" * 1025), ValueError, "vin is too long"),
        (lambda: kordel.decode("A8A855H100001", "78"), TypeError, "year must be an int or None"),
        (lambda: kordel.decode("A8A855H100001", True), TypeError, "not bool"),
        (lambda: kordel.decode("A8A855H100001", suggest=1), TypeError, "suggest must be True"),
        (lambda: kordel.decode("A8A855H100001", explain="no"), TypeError, "explain must be"),
        (lambda: kordel.decode_many([], suggest=None), TypeError, "suggest must be True"),
        (lambda: kordel.decode("A8A855H100001", 1967), ValueError, "68-80 or 1968-1980, not 1967"),
        (lambda: kordel.decode("A8A855H100001", 2**80), ValueError, "68-80 or 1968-1980"),
        (lambda: kordel.decode_many("A8A855H100001"), TypeError, "not one str"),
        (lambda: kordel.decode_many(5), TypeError, "iterable of str, not int"),
        (lambda: kordel.decode_many([], year=81), ValueError, "not 81"),
        (lambda: first(kordel.decode_many(["A8A855H100001", 7][1:])), TypeError, r"vins\[0\]"),
        (lambda: first(kordel.decode_many(["\x00"])), ValueError, r"vins\[0\] holds a NUL"),
    ],
)
def test_bad_input_raises(call, error, message):
    with pytest.raises(error, match=message):
        call()


def test_decode_many_goes_on_after_a_bad_item_and_passes_on_errors_of_the_input():
    records = kordel.decode_many(["A0A857H123442", None, "A1F031BQ00011"])
    assert next(records)["vin"] == "A0A857H123442"
    with pytest.raises(TypeError, match=r"vins\[1\] must be a str"):
        next(records)
    assert next(records)["vin"] == "A1F031BQ00011"
    assert list(records) == []

    def failing():
        yield "A0A857H123442"
        raise RuntimeError("the input broke")

    records = kordel.decode_many(failing())
    next(records)
    with pytest.raises(RuntimeError, match="the input broke"):
        next(records)

    def stepping_its_reader():
        yield "A0A857H123442"
        next(records)

    records = kordel.decode_many(stepping_its_reader())
    next(records)
    with pytest.raises(ValueError, match="already running"):
        next(records)


def test_a_decode_from_a_finalizer_while_a_record_is_built():
    seen = []

    class Cycle:
        def __init__(self):
            self.me = self

        def __del__(self):
            seen.append(kordel.decode("A1F031BQ00011"))

    expected = kordel.decode("A8A855H100001"), kordel.decode("A1F031BQ00011")
    threshold = gc.get_threshold()
    gc.collect()
    gc.set_threshold(1)  # the first dict the record makes runs the collector
    try:
        Cycle()
        record = kordel.decode("A8A855H100001")
    finally:
        gc.set_threshold(*threshold)
    assert (record, seen) == (expected[0], [expected[1]])


def test_decodes_from_a_finalizer_at_every_collection_keep_to_their_own_vin():
    # A finalizer that decodes a VIN that decodes, fired at every collection while
    # another VIN's record is being built: neither record may hold the other's VIN.
    inner_vin, outer_vin = "1AMCM3875BK100021", "A8A855H100001"
    inner = []
    running = [True]

    class Cycle:
        def __init__(self):
            self.me = self

        def __del__(self):
            if running[0]:
                inner.append(kordel.decode(inner_vin))
                Cycle()  # the next collection finds the next one

    threshold = gc.get_threshold()
    gc.collect()
    gc.set_threshold(1)
    try:
        Cycle()
        outer = [kordel.decode(outer_vin) for _ in range(50)]
    finally:
        running[0] = False
        gc.set_threshold(*threshold)
        gc.collect()
    assert inner
    assert not [r for r in outer if inner_vin in json.dumps(r)]
    assert not [r for r in inner if outer_vin in json.dumps(r)]


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def test_a_stream_decodes_lazily_in_constant_memory():
    # An endless stream: decode_many takes only what is asked for.
    prefixes = ["A8A855H", "A0A857H", "A1F031B", "A3A350A", "1AMCM3877BK"]
    stream = (f"{prefixes[i % 5]}{i % 900_000 + 100_000:06d}" for i in itertools.count())
    records = kordel.decode_many(stream)
    for _ in itertools.islice(records, 20_000):
        pass
    # Python's own allocations over 100,000 records, then the process's over a million.
    tracemalloc.start()
    try:
        for _ in itertools.islice(records, 100_000):
            pass
        traced, _ = tracemalloc.get_traced_memory()
    finally:
        tracemalloc.stop()
    assert traced < 100_000
    before = resident_bytes()
    for _ in itertools.islice(records, 1_000_000):
        pass
    assert resident_bytes() - before < 4 << 20
