// Builds the record of a decode as Python objects (dicts, lists, str, int, bool,
// None) straight from the record's walk, with no JSON text in between.
#pragma once

#include <Python.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kordel::python {

// A Python error is pending: the caller hands it on to the interpreter.
struct PythonError {};

class PyBuilder {
 public:
  PyBuilder() = default;
  PyBuilder(const PyBuilder &) = delete;
  PyBuilder &operator=(const PyBuilder &) = delete;
  ~PyBuilder() { Py_XDECREF(root_); }

  void begin_object() { open(PyDict_New()); }
  void end_object() { open_.pop_back(); }
  void begin_array() { open(PyList_New(0)); }
  void end_array() { open_.pop_back(); }
  void key(std::string_view name) { key_ = key_object(name); }
  void string(std::string_view text) { add(text_object(text)); }
  void number(std::int64_t value) { add(PyLong_FromLongLong(value)); }
  void boolean(bool value) { add(Py_NewRef(value ? Py_True : Py_False)); }
  void null() { add(Py_NewRef(Py_None)); }

  // The value built (a new reference); the builder is then ready for the next one.
  PyObject *take() {
    PyObject *value = root_;
    root_ = nullptr;
    open_.clear();
    return value;
  }

  // Text as Python reads it: bytes that are not UTF-8 become U+FFFD, as in the
  // JSON that kordel-decode writes.
  static PyObject *text_object(std::string_view text) {
    return PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace");
  }

 private:
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };

  // Takes the reference to value, or throws when making it failed.
  void add(PyObject *value) {
    if (value == nullptr) throw PythonError{};
    if (open_.empty()) {
      Py_XDECREF(root_);
      root_ = value;
      return;
    }
    PyObject *parent = open_.back();
    const int status = PyDict_CheckExact(parent) ? PyDict_SetItem(parent, key_, value)
                                                 : PyList_Append(parent, value);
    Py_DECREF(value);
    if (status != 0) throw PythonError{};
  }

  // The new container goes into its parent (or becomes the root), which owns it.
  void open(PyObject *container) {
    add(container);
    open_.push_back(container);
  }

  // Member names repeat in every record: one interned str each, made once and kept
  // for the life of the interpreter, which also keeps their hashes.
  static PyObject *key_object(std::string_view name) {
    static std::unordered_map<std::string, PyObject *, NameHash, std::equal_to<>> keys;
    if (auto it = keys.find(name); it != keys.end()) return it->second;
    PyObject *key = text_object(name);
    if (key == nullptr) throw PythonError{};
    PyUnicode_InternInPlace(&key);
    keys.emplace(name, key);
    return key;
  }

  PyObject *root_ = nullptr;
  std::vector<PyObject *> open_;  // borrowed: each is owned by its parent or the root
  PyObject *key_ = nullptr;       // borrowed from the cache of names
};

}  // namespace kordel::python
