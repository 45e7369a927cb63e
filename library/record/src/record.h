// The record of one decoded VIN, walked once for every writer of it: the JSON
// object `kordel-decode --format json` writes, and any other structure a caller
// builds from the same walk.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "fields.h"
#include "positions.h"
#include "suggestions.h"
#include "vin_decode.h"

namespace kordel::record {

// The input row of a CSV file, for the record's `row` member.
struct CsvRow {
  std::span<const std::string> header;
  std::span<const std::string> fields;  // may be shorter or longer than the header
  // The `row` member's keys where they differ from the header: unique, and one for
  // each cell past the header (csv_column_names). Empty: the header's.
  std::span<const std::string> names = {};
};

// What a record holds beyond the decode itself.
struct RecordOptions {
  bool suggest = false;  // `suggestions`: VINs one edit away that decode (kordel-decode --suggest)
  bool explain = false;  // `positions` in each result: what each character says (--explain)
  // The decode's suggestions, when the caller has them already: written instead of
  // searching again (a caller writing one VIN twice searches once).
  const std::vector<Suggestion> *suggestions = nullptr;
  char csv_delimiter = ',';  // CSV: what separates cells (',', ';' or '\t')
  bool csv_raw = false;      // CSV: cells as read, a formula's start not neutralised
};

// What the outputs say for a VIN whose codes name nothing to decode.
inline constexpr std::string_view unknown_message = "the codes name no model line or body";

// A message's text without the line break some decoders start it with.
inline std::string_view message_text(const Message &m) {
  std::string_view text = m.text;
  if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
  return text;
}

// One of the record's own member names, as build_record() hands it to key(): plain
// ASCII, which a builder may take as it is (a builder with only key(std::string_view)
// gets it as any text).
struct Name : std::string_view {
  constexpr explicit Name(std::string_view name) : std::string_view(name) {}
};

namespace detail {

template <class Builder>
void key(Builder &b, std::string_view name) {
  b.key(Name(name));
}

// A text or a number, or null where there is none.
template <class Builder, class T>
void optional_value(Builder &b, const std::optional<T> &value) {
  if (!value)
    b.null();
  else if constexpr (std::is_convertible_v<T, std::string_view>)
    b.string(*value);
  else
    b.number(*value);
}

template <class Builder>
void build_fields(Builder &b, const VinDecode &decode, std::size_t i) {
  b.begin_object();
  if (const Vin13Fields *f = decode.fields13(i)) {
    for (const Field &field : fields) {
      if (!in_scheme13(field)) continue;
      key(b, field.name);
      optional_value(b, field_text(raw_text(field, *f)));
    }
  } else if (const Vin17Fields *g = decode.fields17()) {
    for (const Field &field : fields) {
      if (!in_scheme17(field)) continue;
      key(b, field.name);
      optional_value(b, field_text(raw_text(field, *g)));
    }
  }
  b.end_object();
}

// The report's lines, joined with NUL (which no decoded VIN holds) and split again.
// The buffer is the decode's own, not the thread's: a builder may run other code (a
// Python finalizer) that builds another decode's record in the middle of this one.
template <class Builder>
void build_report(Builder &b, const VinDecode &decode, std::size_t i) {
  std::string &joined = decode.scratch();
  joined.clear();
  decode.append_report(joined, i, std::string_view("\0", 1));
  b.begin_array();
  std::string_view rest = joined;
  for (;;) {
    const std::size_t end = rest.find('\0');
    b.string(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  b.end_array();
}

template <class Builder>
void build_messages(Builder &b, const Messages &messages) {
  b.begin_array();
  for (const Message &m : messages) {
    b.begin_object();
    key(b, "text");
    b.string(message_text(m));
    key(b, "kind");
    b.string(m.goes_on ? "warning" : "error");
    key(b, "position");
    optional_value(b, m.position != 0 ? std::optional<std::int64_t>(m.position) : std::nullopt);
    key(b, "accepted");
    optional_value(b, m.accepted.empty() ? std::nullopt : std::optional(m.accepted));
    b.end_object();
  }
  b.end_array();
}

// A decoded result's `positions`: what each character says.
template <class Builder>
void build_positions(Builder &b, const PositionMeanings &meanings) {
  b.begin_array();
  for (const PositionMeaning &m : meanings) {
    b.begin_object();
    key(b, "position");
    b.number(m.position);
    key(b, "character");
    b.string(m.character);
    key(b, "field");
    optional_value(b, m.field.empty() ? std::nullopt : std::optional(m.field));
    key(b, "meaning");
    b.string(m.meaning);
    key(b, "text");
    optional_value(b, m.text);
    b.end_object();
  }
  b.end_array();
}

// The record's `suggestions`: the VINs near it that decode cleanly, best first,
// one for each car a VIN decodes as.
template <class Builder>
void build_suggestions(Builder &b, std::span<const Suggestion> suggestions) {
  b.begin_array();
  for (const Suggestion &s : suggestions) {
    b.begin_object();
    key(b, "vin");
    b.string(s.vin);
    key(b, "edit");
    b.string(edit_kind_name(s.kind));
    key(b, "changes");
    b.begin_array();
    for (const Change &c : s.changes) {
      b.begin_object();
      key(b, "position");
      b.number(c.position);
      key(b, "before");  // none for an insertion
      optional_value(b, c.before.empty() ? std::nullopt : std::optional(c.before));
      key(b, "after");  // none for a removal
      optional_value(b, c.after.empty() ? std::nullopt : std::optional(c.after));
      key(b, "meaning");  // none where the position names no field
      optional_value(b, c.meaning.empty() ? std::nullopt : std::optional(c.meaning));
      b.end_object();
    }
    b.end_array();
    key(b, "model_years");
    b.begin_array();
    for (int year : s.model_years) b.number(year);
    b.end_array();
    key(b, "summary");
    b.string(s.summary);
    b.end_object();
  }
  b.end_array();
}

template <class Builder>
void build_result(Builder &b, const VinDecode &decode, std::size_t i,
                  const RecordOptions &options) {
  const Result a = decode.result(i);
  // A result with a report, complete or not, has its fields and positions.
  const bool decoded = a.status == Status::decoded || a.status == Status::incomplete;
  b.begin_object();
  key(b, "model_year");
  optional_value(
      b, a.model_year != 0 ? std::optional<std::int64_t>(1900 + a.model_year) : std::nullopt);
  key(b, "status");
  b.string(status_name(a.status));
  key(b, "fields");
  if (decoded)
    build_fields(b, decode, i);
  else
    b.null();
  key(b, "production_number");
  optional_value(b, decode.production_number());
  key(b, "report");
  if (decoded)
    build_report(b, decode, i);
  else
    b.null();
  key(b, "missing_fields");
  b.begin_array();
  for (std::string_view name : decode.missing_fields(i)) b.string(name);
  b.end_array();
  key(b, "messages");
  build_messages(b, *a.messages);
  if (options.explain) {
    key(b, "positions");
    if (decoded)
      build_positions(b, position_meanings(decode, i));
    else
      b.null();
  }
  b.end_object();
}

template <class Builder>
void build_check_digit(Builder &b, const std::optional<CheckDigit> &check) {
  if (!check) {
    b.null();
    return;
  }
  b.begin_object();
  key(b, "given");
  b.string(std::string_view(&check->given, 1));
  key(b, "expected");
  optional_value(
      b, check->expected ? std::optional(std::string_view(&*check->expected, 1)) : std::nullopt);
  key(b, "valid");
  b.boolean(check->valid());
  b.end_object();
}

template <class Builder>
void build_row(Builder &b, const CsvRow &row) {
  const std::span<const std::string> names = row.names.empty() ? row.header : row.names;
  const std::size_t width = std::max(row.header.size(), std::min(names.size(), row.fields.size()));
  b.begin_object();
  for (std::size_t i = 0; i < width; ++i) {
    b.key(names[i]);
    if (i < row.fields.size())
      b.string(row.fields[i]);
    else
      b.null();
  }
  b.end_object();
}

}  // namespace detail

// Walks the record of `decode` into `b`, which takes begin_object(), end_object(),
// begin_array(), end_array(), key(std::string_view), string(std::string_view),
// number(std::int64_t), boolean(bool) and null(). Keys and strings are the bytes
// as they are, which may not be UTF-8. `row` adds the record's `row` member,
// `options` the `suggestions` member and each result's `positions`.
template <class Builder>
void build_record(Builder &b, const VinDecode &decode, const CsvRow *row = nullptr,
                  const RecordOptions &options = {}) {
  b.begin_object();
  detail::key(b, "vin");
  b.string(decode.vin());
  detail::key(b, "vin_read");
  b.string(decode.read());
  if (!decode.error().empty()) {
    detail::key(b, "error");
    b.string(decode.error());
  } else {
    detail::key(b, "results");
    b.begin_array();
    for (std::size_t i = 0; i < decode.result_count(); ++i)
      detail::build_result(b, decode, i, options);
    b.end_array();
  }
  detail::key(b, "check_digit");
  detail::build_check_digit(b, decode.check_digit());
  detail::key(b, "warnings");
  b.begin_array();
  decode.for_each_warning([&b](std::string_view warning) { b.string(warning); });
  b.end_array();
  if (options.suggest) {
    detail::key(b, "suggestions");
    if (options.suggestions != nullptr)
      detail::build_suggestions(b, std::span<const Suggestion>(*options.suggestions));
    else
      detail::build_suggestions(b, std::span<const Suggestion>(suggestions_for(decode)));
  }
  if (row != nullptr) {
    detail::key(b, "row");
    detail::build_row(b, *row);
  }
  b.end_object();
}

}  // namespace kordel::record
