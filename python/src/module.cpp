// The Python module: kordel.decode and kordel.decode_many answer with the record
// kordel-decode --format json writes, built as dicts and lists directly.
#include <pybind11/pybind11.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "py_builder.h"
#include "record.h"
#include "vin_decode.h"

namespace py = pybind11;
using kordel::python::PyBuilder;
using kordel::python::PythonError;
using kordel::record::VinDecode;

namespace {

// kordel-decode reads no more of a line than this; a longer text is no VIN.
using kordel::record::max_vin_bytes;

std::string type_name(PyObject *object) { return Py_TYPE(object)->tp_name; }

// The bytes of a VIN given as a str: its UTF-8. Lone surrogates, which UTF-8 cannot
// hold, are first read as the bytes Python's "surrogateescape" stands them for (a
// file read with that handler gives its bytes back), else encoded as they stand;
// either way they are bytes that are not UTF-8, which the record shows as U+FFFD,
// exactly as kordel-decode does for such bytes. `encoded` keeps the bytes alive.
// A missing value of a data frame's column: NaN, pandas.NA or pandas.NaT.
bool missing(PyObject *value) {
  if (PyFloat_Check(value)) return std::isnan(PyFloat_AS_DOUBLE(value));
  const std::string_view type = Py_TYPE(value)->tp_name;
  return type == "pandas._libs.missing.NAType" || type == "pandas._libs.tslibs.nattype.NaTType" ||
         type == "NAType" || type == "NaTType";
}

// A missing value reads as an empty text: a record with the length's error, as
// kordel-decode writes for an empty cell.
std::string_view vin_bytes(PyObject *vin, const std::string &what, py::object &encoded) {
  if (!PyUnicode_Check(vin) && missing(vin)) return {};
  if (!PyUnicode_Check(vin)) throw py::type_error(what + " must be a str, not " + type_name(vin));
  const Py_ssize_t length = PyUnicode_GET_LENGTH(vin);
  std::string_view bytes;
  if (static_cast<std::size_t>(length) <= max_vin_bytes) {
    Py_ssize_t size = 0;
    if (const char *utf8 = PyUnicode_AsUTF8AndSize(vin, &size)) {
      bytes = {utf8, static_cast<std::size_t>(size)};
    } else {
      PyErr_Clear();
      PyObject *b = PyUnicode_AsEncodedString(vin, "utf-8", "surrogateescape");
      if (b == nullptr) {
        PyErr_Clear();
        b = PyUnicode_AsEncodedString(vin, "utf-8", "surrogatepass");
        if (b == nullptr) throw py::error_already_set();
      }
      encoded = py::reinterpret_steal<py::object>(b);
      bytes = {PyBytes_AS_STRING(b), static_cast<std::size_t>(PyBytes_GET_SIZE(b))};
    }
  }
  if (static_cast<std::size_t>(length) > max_vin_bytes || bytes.size() > max_vin_bytes)
    throw py::value_error(what + " is too long (" + std::to_string(length) +
                          " characters): a VIN has 13 or 17, and no more than " +
                          std::to_string(max_vin_bytes) + " bytes of UTF-8 are read");
  if (const void *nul = std::memchr(bytes.data(), '\0', bytes.size()))
    throw py::value_error(what + " holds a NUL character (at byte " +
                          std::to_string(static_cast<const char *>(nul) - bytes.data()) +
                          "), which no VIN holds");
  // A line read from a file keeps its line end; kordel-decode's lines come without.
  if (!bytes.empty() && bytes.back() == '\n') bytes.remove_suffix(1);
  return bytes;
}

// year: None for every candidate year, or 68-80 / 1968-1980 as kordel-decode's --year.
int model_year_of(PyObject *year) {
  if (year == Py_None) return 0;
  // An int or any integer that says so (__index__: numpy's integers); not a bool,
  // numpy's included.
  const std::string_view type = Py_TYPE(year)->tp_name;
  if (PyBool_Check(year) || type == "numpy.bool_" || type == "numpy.bool" || !PyIndex_Check(year))
    throw py::type_error("year must be an int or None, not " + type_name(year));
  const py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(year));
  if (!index) throw py::error_already_set();
  int overflow = 0;
  const long value = PyLong_AsLongAndOverflow(index.ptr(), &overflow);
  if (value == -1 && PyErr_Occurred()) throw py::error_already_set();
  std::optional<int> two_digits;
  if (overflow == 0) two_digits = kordel::record::parse_model_year(std::to_string(value));
  if (!two_digits)
    throw py::value_error("year must be " + kordel::record::model_year_forms() + ", not " +
                          py::str(py::handle(year)).cast<std::string>());
  return *two_digits;
}

// Decodes one VIN into a new dict.
py::object decode_into(VinDecode &decode, PyBuilder &builder, PyObject *vin,
                       const std::string &what, int model_year,
                       const kordel::record::RecordOptions &options) {
  py::object encoded;
  const std::string_view bytes = vin_bytes(vin, what, encoded);
  decode.decode(kordel::record::trim_vin(bytes), model_year);
  try {
    kordel::record::build_record(builder, decode, nullptr, options);
  } catch (...) {
    Py_XDECREF(builder.take());  // the part built so far
    try {
      throw;
    } catch (const PythonError &) {
      throw py::error_already_set();
    }
  }
  return py::reinterpret_steal<py::object>(builder.take());
}

// Marks a decode under way for as long as it lives.
class Busy {
 public:
  explicit Busy(bool &flag) : flag_(flag) { flag_ = true; }
  ~Busy() { flag_ = false; }
  Busy(const Busy &) = delete;
  Busy &operator=(const Busy &) = delete;

 private:
  bool &flag_;
};

// suggest and explain: True or False, as kordel-decode's --suggest and --explain.
kordel::record::RecordOptions options_of(py::handle suggest, py::handle explain) {
  for (const auto &[name, value] : {std::pair{"suggest", suggest}, std::pair{"explain", explain}})
    if (!PyBool_Check(value.ptr()))
      throw py::type_error(std::string(name) + " must be True or False, not " +
                           type_name(value.ptr()));
  return {.suggest = suggest.ptr() == Py_True, .explain = explain.ptr() == Py_True};
}

py::object decode(py::handle vin, py::handle year, py::handle suggest, py::handle explain) {
  const int model_year = model_year_of(year.ptr());
  const auto options = options_of(suggest, explain);
  // A VinDecode holds a result per candidate year: one kept, not one a call. A
  // decode called while that one is in use (from a finalizer the garbage collector
  // runs while the record is built) gets one of its own.
  static const auto one = std::make_unique<VinDecode>();
  static PyBuilder builder;
  static bool busy = false;
  if (busy) {
    const auto own = std::make_unique<VinDecode>();
    PyBuilder own_builder;
    return decode_into(*own, own_builder, vin.ptr(), "vin", model_year, options);
  }
  const Busy mark(busy);
  return decode_into(*one, builder, vin.ptr(), "vin", model_year, options);
}

// The lazy iterator decode_many returns: one VIN taken from the iterable and
// decoded per step, so nothing but the current record is held.
class DecodeIterator {
 public:
  DecodeIterator(py::iterator vins, int model_year, kordel::record::RecordOptions options)
      : vins_(std::move(vins)), model_year_(model_year), options_(options) {}

  py::object next() {
    // As a generator does: its own input, or a finalizer, may not step it again.
    if (busy_) throw py::value_error("decode_many's iterator is already running");
    const Busy mark(busy_);
    PyObject *item = PyIter_Next(vins_.ptr());
    if (item == nullptr) {
      if (PyErr_Occurred()) throw py::error_already_set();
      throw py::stop_iteration();
    }
    const auto vin = py::reinterpret_steal<py::object>(item);
    const std::size_t index = index_++;
    return decode_into(*decode_,
                       builder_,
                       vin.ptr(),
                       "vins[" + std::to_string(index) + "]",
                       model_year_,
                       options_);
  }

 private:
  py::iterator vins_;
  int model_year_;
  kordel::record::RecordOptions options_;
  std::unique_ptr<VinDecode> decode_ = std::make_unique<VinDecode>();
  PyBuilder builder_;
  std::size_t index_ = 0;
  bool busy_ = false;
};

std::unique_ptr<DecodeIterator> decode_many(py::handle vins, py::handle year, py::handle suggest,
                                            py::handle explain) {
  const int model_year = model_year_of(year.ptr());
  const auto options = options_of(suggest, explain);
  if (PyUnicode_Check(vins.ptr()))
    throw py::type_error(
        "vins must be an iterable of str, not one str (kordel.decode decodes one VIN)");
  PyObject *iterator = PyObject_GetIter(vins.ptr());
  if (iterator == nullptr) {
    PyErr_Clear();
    throw py::type_error("vins must be an iterable of str, not " + type_name(vins.ptr()));
  }
  return std::make_unique<DecodeIterator>(
      py::reinterpret_steal<py::iterator>(iterator), model_year, options);
}

}  // namespace

PYBIND11_MODULE(_kordel, m) {
  // The signatures stand at the head of each docstring, in the form help() and
  // inspect.signature read.
  py::options options;
  options.disable_function_signatures();

  m.doc() = "The compiled part of the kordel package; use kordel itself.";
  m.attr("__version__") = KORDEL_VERSION;

  py::class_<DecodeIterator>(m, "DecodeIterator", R"(
Iterator over the records of decode_many: one dict per VIN, decoded as it is
taken.)")
      .def(
          "__iter__", [](py::object self) { return self; }, "Return the iterator itself.")
      .def("__next__",
           &DecodeIterator::next,
           "Decode the next VIN of vins; raise StopIteration at their end.");

  m.def("decode",
        &decode,
        py::arg("vin"),
        py::arg("year") = py::none(),
        py::kw_only(),
        py::arg("suggest") = false,
        py::arg("explain") = false,
        R"(decode(vin, year=None, *, suggest=False, explain=False)
--

Decode one VIN; return its record as a dict.

The dict is what ``kordel-decode --format json`` writes for the VIN (with
``--year`` when ``year`` is given), as json.loads reads it: ``vin``, then
``results`` (one per model year tried) or ``error``, then ``check_digit``.

vin: the VIN as a str; blanks at either end and a line end (LF or CR LF)
    are ignored.
    A VIN of the wrong length, with characters no VIN holds or codes the
    decoder rejects gives a record that says so; it raises nothing.
    NaN and pandas.NA (a missing cell) read as an empty VIN.
year: None to try every model year a 13-character VIN could belong to, or one
    year, as 68-80 or 1968-1980 (an int, or any integer such as numpy's); a
    year that is not one of the VIN's candidates gives a record with ``error``.
suggest: add ``suggestions``, the VINs one edit away that decode, best first
    (kordel-decode --suggest).
explain: add ``positions`` to each result, what each character says
    (kordel-decode --explain).

Raises TypeError when vin is not a str, year not an integer or None, or
suggest or explain not a bool, and
ValueError when vin holds a NUL character or more than 1024 bytes, or year
is not 68-80 or 1968-1980.)");

  m.def("decode_many",
        &decode_many,
        py::arg("vins"),
        py::arg("year") = py::none(),
        py::kw_only(),
        py::arg("suggest") = false,
        py::arg("explain") = false,
        R"(decode_many(vins, year=None, *, suggest=False, explain=False)
--

Decode VINs one at a time; return an iterator of their records.

vins: any iterable of str (a list, a text file, a generator), one VIN each.
    It is read lazily, one VIN per record taken, so a stream of any length
    decodes in constant memory. Every item gives a record, an empty one too;
    NaN and pandas.NA (a missing cell) give that of an empty VIN.
year, suggest, explain: as for decode(), for every VIN.

Each record is the dict decode() returns for that VIN. A VIN that is not a
str, holds a NUL character or more than 1024 bytes raises TypeError or
ValueError when its record is taken, naming its index in vins; year is
checked at once.)");
}
