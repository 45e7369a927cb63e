// Walks the record of a decode on a builder. Until the record library walks it
// itself, the walk reads the record's JSON text back (nlohmann's SAX parser).
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "json_record.h"
#include "vin_decode.h"

namespace kordel::python {

template <class Builder>
class SaxWalk : public nlohmann::json_sax<nlohmann::json> {
 public:
  explicit SaxWalk(Builder &b) : b_(b) {}
  bool null() override { return b_.null(), true; }
  bool boolean(bool v) override { return b_.boolean(v), true; }
  bool number_integer(std::int64_t v) override { return b_.number(v), true; }
  bool number_unsigned(std::uint64_t v) override {
    return b_.number(static_cast<std::int64_t>(v)), true;
  }
  bool number_float(double, const std::string &) override { return false; }
  bool string(std::string &v) override { return b_.string(v), true; }
  bool binary(binary_t &) override { return false; }
  bool start_object(std::size_t) override { return b_.begin_object(), true; }
  bool key(std::string &v) override { return b_.key(v), true; }
  bool end_object() override { return b_.end_object(), true; }
  bool start_array(std::size_t) override { return b_.begin_array(), true; }
  bool end_array() override { return b_.end_array(), true; }
  bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) override {
    return false;
  }

 private:
  Builder &b_;
};

template <class Builder>
void walk_record(Builder &b, const record::VinDecode &decode) {
  std::string text;
  record::append_json_record(text, decode);
  SaxWalk<Builder> walk(b);
  if (!nlohmann::json::sax_parse(text, &walk)) throw std::logic_error("unreadable record");
}

}  // namespace kordel::python
