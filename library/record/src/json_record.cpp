#include "json_record.h"

#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>

namespace kordel::record {
namespace {

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

void append_json_record(std::string &out, const VinDecode &decode, const CsvRow *row,
                        const RecordOptions &options) {
  JsonBuilder builder(out);
  build_record(builder, decode, row, options);
}

std::string json_record(std::string_view vin, int model_year) {
  std::string out;
  if (model_year != 0) {
    const std::optional<int> year = parse_model_year(std::to_string(model_year));
    if (!year) {
      JsonBuilder b(out);
      b.begin_object();
      b.key("vin");
      b.string(trim_vin(vin));
      b.key("error");
      b.string(model_year_refusal(model_year));
      b.key("check_digit");
      b.null();
      b.end_object();
      return out;
    }
    model_year = *year;
  }
  // A VinDecode holds several results; keep it off the (small, on the web) stack.
  const auto decode = std::make_unique<VinDecode>();
  decode->decode(trim_vin(vin), model_year);
  append_json_record(out, *decode);
  return out;
}

}  // namespace kordel::record
