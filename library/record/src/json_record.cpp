#include "json_record.h"

#include <cstring>
#include <nlohmann/json.hpp>

namespace kordel::record {
namespace {

// Writes one object member after another, with the commas between them.
class ObjectWriter {
 public:
  explicit ObjectWriter(std::string &out) : out_(out) { out_ += '{'; }
  ~ObjectWriter() { out_ += '}'; }
  ObjectWriter(const ObjectWriter &) = delete;
  ObjectWriter &operator=(const ObjectWriter &) = delete;

  // `name` is one of the record's own member names, which need no escaping.
  std::string &key(std::string_view name) {
    out_ += first_ ? "\"" : ",\"";
    first_ = false;
    out_ += name;
    out_ += "\":";
    return out_;
  }
  // A name from the input (a CSV header), escaped as any text.
  std::string &input_key(std::string_view name) {
    if (!first_) out_ += ',';
    first_ = false;
    append_json_string(out_, name);
    out_ += ':';
    return out_;
  }
  void string(std::string_view name, std::string_view value) {
    append_json_string(key(name), value);
  }
  void optional_string(std::string_view name, std::optional<std::string_view> value) {
    if (value)
      string(name, *value);
    else
      key(name) += "null";
  }
  void number(std::string_view name, std::int64_t value) { key(name) += std::to_string(value); }
  void null(std::string_view name) { key(name) += "null"; }

 private:
  std::string &out_;
  bool first_ = true;
};

void append_fields(std::string &out, const VinDecode &decode, std::size_t i) {
  ObjectWriter o(out);
  if (const Vin13Fields *f = decode.fields13(i)) {
    o.optional_string("year", field_text(f->year));
    o.optional_string("make", field_text(f->make));
    o.optional_string("model", field_text(f->model));
    o.optional_string("series", field_text(f->series));
    o.optional_string("body", field_text(f->body));
    o.optional_string("engine", field_text(f->engine));
    o.optional_string("trans", field_text(f->trans));
    o.optional_string("plant", field_text(f->plant));
  } else if (const Vin17Fields *g = decode.fields17()) {
    o.optional_string("year", field_text(g->year));
    o.optional_string("make", field_text(g->make));
    o.optional_string("model", field_text(g->model));
    o.optional_string("vehicle_type", field_text(g->vehicle_type));
    o.optional_string("engine", field_text(g->engine));
    o.optional_string("trans", field_text(g->trans));
    o.optional_string("restraints", field_text(g->restraints));
    o.optional_string("check_digit", field_text(std::string_view(&g->check_digit, 1)));
    o.optional_string("plant", field_text(g->plant));
  }
}

// The report's lines, joined with NUL (which no decoded VIN holds) and split again.
void append_report_lines(std::string &out, const VinDecode &decode, std::size_t i) {
  thread_local std::string joined;  // kept, so that its room is reused
  joined.clear();
  decode.append_report(joined, i, std::string_view("\0", 1));
  out += '[';
  std::string_view rest = joined;
  for (bool first = true;; first = false) {
    if (!first) out += ',';
    const std::size_t end = rest.find('\0');
    append_json_string(out, rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  out += ']';
}

void append_messages(std::string &out, const Messages &messages) {
  out += '[';
  bool first = true;
  for (const Message &m : messages) {
    if (!first) out += ',';
    first = false;
    ObjectWriter o(out);
    std::string_view text = m.text;
    if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
    o.string("text", text);
    o.string("kind", m.goes_on ? "warning" : "error");
    if (m.position != 0)
      o.number("position", m.position);
    else
      o.null("position");
    o.optional_string("accepted", m.accepted.empty() ? std::nullopt : std::optional(m.accepted));
  }
  out += ']';
}

void append_result(std::string &out, const VinDecode &decode, std::size_t i) {
  const Attempt a = decode.attempt(i);
  const bool decoded = a.status == Status::decoded;
  ObjectWriter o(out);
  if (a.model_year != 0)
    o.number("model_year", 1900 + a.model_year);
  else
    o.null("model_year");
  o.string("status", status_name(a.status));
  if (decoded)
    append_fields(o.key("fields"), decode, i);
  else
    o.null("fields");
  if (decode.production_number())
    o.number("production_number", *decode.production_number());
  else
    o.null("production_number");
  if (decoded)
    append_report_lines(o.key("report"), decode, i);
  else
    o.null("report");
  append_messages(o.key("messages"), *a.messages);
}

void append_check_digit(std::string &out, const CheckDigit &check) {
  ObjectWriter o(out);
  o.string("given", std::string_view(&check.given, 1));
  o.optional_string(
      "expected",
      check.expected ? std::optional(std::string_view(&*check.expected, 1)) : std::nullopt);
  o.key("valid") += check.valid() ? "true" : "false";
}

// Printable ASCII other than the quote and the backslash stands in JSON as it is.
// Tested eight bytes at a time: this test is most of the cost of a record.
bool plain_json_text(std::string_view text) {
  constexpr std::uint64_t ones = ~std::uint64_t{0} / 255, highs = ones * 0x80;
  const auto has_zero_byte = [=](std::uint64_t x) { return ((x - ones) & ~x & highs) != 0; };
  const auto has_byte_below = [=](std::uint64_t x, std::uint64_t n) {
    return ((x - ones * n) & ~x & highs) != 0;
  };
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t x;
    std::memcpy(&x, text.data() + i, 8);
    if (has_byte_below(x, 0x20) || ((x | (x + ones)) & highs) != 0 ||
        has_zero_byte(x ^ (ones * '"')) || has_zero_byte(x ^ (ones * '\\')))
      return false;
  }
  for (; i < text.size(); ++i) {
    const auto u = static_cast<unsigned char>(text[i]);
    if (u < 0x20 || u >= 0x7F || u == '"' || u == '\\') return false;
  }
  return true;
}

// Anything else goes through the JSON library, which also puts U+FFFD for bytes
// that are not UTF-8. Kept out of line: the common path stays small.
[[gnu::noinline]] void append_escaped_json_string(std::string &out, std::string_view text) {
  out += nlohmann::json(std::string(text))
             .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

void append_json_string(std::string &out, std::string_view text) {
  if (plain_json_text(text)) {  // the common case: printable ASCII as it stands
    out.reserve(out.size() + text.size() + 2);
    out.push_back('"');
    out.append(text);
    out.push_back('"');
    return;
  }
  append_escaped_json_string(out, text);
}

void append_json_record(std::string &out, const VinDecode &decode, const CsvRow *row) {
  ObjectWriter o(out);
  o.string("vin", decode.vin());
  if (!decode.error().empty()) {
    o.string("error", decode.error());
  } else {
    std::string &results = o.key("results");
    results += '[';
    for (std::size_t i = 0; i < decode.attempt_count(); ++i) {
      if (i != 0) results += ',';
      append_result(results, decode, i);
    }
    results += ']';
  }
  if (decode.check_digit())
    append_check_digit(o.key("check_digit"), *decode.check_digit());
  else
    o.null("check_digit");
  if (row != nullptr) {
    ObjectWriter r(o.key("row"));
    for (std::size_t i = 0; i < row->header.size(); ++i) {
      std::string &value = r.input_key(row->header[i]);
      if (i < row->fields.size())
        append_json_string(value, row->fields[i]);
      else
        value += "null";
    }
  }
}

std::string json_record(std::string_view vin, int model_year) {
  std::string out;
  if (model_year != 0) {
    const std::optional<int> year = parse_model_year(std::to_string(model_year));
    if (!year) {
      {
        ObjectWriter o(out);
        o.string("vin", trim_vin(vin));
        o.string("error",
                 "model year " + std::to_string(model_year) + " is not one of 68-80 or 1968-1980");
        o.null("check_digit");
      }
      return out;
    }
    model_year = *year;
  }
  // A VinDecode holds several results; keep it off the (small, on the web) stack.
  static thread_local VinDecode decode;
  decode.decode(trim_vin(vin), model_year);
  append_json_record(out, decode);
  return out;
}

}  // namespace kordel::record
