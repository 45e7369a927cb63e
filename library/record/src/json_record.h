// The JSON record of one VIN, as `kordel-decode --format json` writes it. Shared
// with the web page, so it depends on nothing but the decoding core, the report
// and nlohmann/json, does no I/O and lets no exception out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "record.h"
#include "vin_decode.h"

namespace kordel::record {

// One JSON object exactly as `kordel-decode --format json` writes it for this VIN (no newline).
// model_year: 0 for every candidate, or 68-80 / 1968-1980 as --year takes it.
std::string json_record(std::string_view vin, int model_year);

// Appends the record of a decoded VIN (no newline); `row` adds the `row` member.
void append_json_record(std::string &out, const VinDecode &decode, const CsvRow *row = nullptr,
                        const RecordOptions &options = {});

// Appends a JSON string. Text that is not UTF-8 is written with U+FFFD in its place.
void append_json_string(std::string &out, std::string_view text);

// The builder build_record() writes compact JSON with: each call appends its
// token, and the comma before it where one is due.
class JsonBuilder {
 public:
  explicit JsonBuilder(std::string &out) : out_(out) {}

  void begin_object() { open('{'); }
  void end_object() { close('}'); }
  void begin_array() { open('['); }
  void end_array() { close(']'); }
  void key(std::string_view name) {
    separate();
    append_json_string(out_, name);
    out_ += ':';
    comma_ = false;
  }
  // The record's own names need no escaping: the common path stays short.
  void key(Name name) {
    out_ += comma_ ? ",\"" : "\"";
    out_ += name;
    out_ += "\":";
    comma_ = false;
  }
  void string(std::string_view text) {
    separate();
    append_json_string(out_, text);
    comma_ = true;
  }
  void number(std::int64_t value) { literal(std::to_string(value)); }
  void boolean(bool value) { literal(value ? "true" : "false"); }
  void null() { literal("null"); }

 private:
  void separate() {
    if (comma_) out_ += ',';
  }
  void open(char bracket) {
    separate();
    out_ += bracket;
    comma_ = false;
  }
  void close(char bracket) {
    out_ += bracket;
    comma_ = true;
  }
  void literal(std::string_view text) {
    separate();
    out_ += text;
    comma_ = true;
  }

  std::string &out_;
  bool comma_ = false;  // a value came before, at this level
};

}  // namespace kordel::record
