// The module's entries into the record library, for the page and for any other
// JavaScript. Each is one call that returns what its name says, and each keeps its
// state in an object the caller holds: a Decoder (one VIN at a time) or a List (a
// list's CSV being written). Nothing is kept between calls outside them.
//
// Text goes in as bytes at an address and a count, written by the caller into
// memory it took with malloc (never onto the module's stack), and comes back as a
// Text: the address and count of bytes the object owns until its next call. Texts
// in and out are UTF-8, except a list's cells, which are bytes and go to the CSV as
// they are. kordel_glue.js wraps these calls for JavaScript.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "csv_dialect.h"
#include "csv_record.h"
#include "json_record.h"
#include "record.h"
#include "text_record.h"
#include "vin_decode.h"

namespace {

using namespace kordel::record;

// The page offers suggestions for a VIN that does not decode and shows what each
// character of one that does says; a list's table and CSV carry the suggestions.
constexpr RecordOptions page_options{.suggest = true, .explain = true};

}  // namespace

// The texts the tapes of a decoder have defined (see TapeBuilder), each kept with
// the address it was written from; the reader of the tapes keeps the same texts
// by their numbers.
struct TapeTexts {
  struct Slot {
    bool used = false;
    const char *data = nullptr;
    std::string text;
    std::uint32_t id = 0;
  };
  std::vector<Slot> slots;  // taken when the first tape is written
  std::uint32_t defined = 0;
};

// Bytes the module returns: valid until the next call on the object that owns them.
struct KordelText {
  const char *data = nullptr;
  std::uint32_t size = 0;
};

// One VIN at a time: its decode (which holds a result per candidate year, kept off
// the small stack) and the text returned last.
struct KordelDecoder {
  VinDecode decode;
  std::string text;
  TapeTexts texts;
  KordelText reply;

  const KordelText *returned() {
    reply = {text.data(), static_cast<std::uint32_t>(text.size())};
    return &reply;
  }
};

// What became of a list's row: "decoded", "incomplete", "rejected", "unknown" or "error", or ""
// for a blank line, which is skipped; and, when asked for, the row's answer (as
// kordel_page_answer's, without the positions and with the suggestions its CSV
// rows got).
struct KordelListRow {
  const char *outcome = "";
  KordelText answer;
};

// A list's CSV being written: its input columns (none for a list of lines), the
// cells of the row decoded last (which its decode points into) and the CSV.
struct KordelList {
  KordelDecoder decoder;
  std::vector<std::string> header;
  std::vector<std::string> cells;
  std::vector<Suggestion> suggestions;
  std::string csv;
  std::string taken;  // the CSV handed over last, valid until the next take
  KordelListRow row;
  KordelText csv_text;
  // How the CSV is written (kordel_list_new): its delimiter, whether cells
  // are kept as read, and its encoding.
  char delimiter = ',';
  bool raw = false;
  TextEncoding encoding = TextEncoding::utf8;
};

namespace {

// Decodes `vin` for a model year of 0, 68-80 or 1968-1980; any other year is
// refused, as `kordel-decode --year` refuses it.
void decode_for(VinDecode &decode, std::string_view vin, int year) {
  if (year == 0) {
    decode.decode(trim_vin(vin), 0);
    return;
  }
  if (const std::optional<int> two_digit = parse_model_year(std::to_string(year)))
    decode.decode(trim_vin(vin), *two_digit);
  else
    decode.refuse(trim_vin(vin), model_year_refusal(year));
}

// A line of a list of lines, or a VIN typed or given: a text longer than a line
// `kordel-decode` reads is refused as it refuses that line.
void decode_line(VinDecode &decode, std::string_view line, int year) {
  if (line.size() > max_vin_bytes)
    decode.refuse_long_line(line);
  else
    decode_for(decode, line, year);
}

std::string_view bytes_at(const char *data, int size) {
  return data != nullptr && size > 0 ? std::string_view(data, static_cast<std::size_t>(size))
                                     : std::string_view();
}

// Cells packed one after another, each as its size (4 bytes, little-endian) and
// its bytes. A short or malformed tail is dropped.
std::vector<std::string> unpack_cells(std::string_view packed) {
  std::vector<std::string> cells;
  while (packed.size() >= 4) {
    std::uint32_t size = 0;
    std::memcpy(&size, packed.data(), 4);  // wasm32 is little-endian
    packed.remove_prefix(4);
    if (size > packed.size()) break;
    cells.emplace_back(packed.substr(0, size));
    packed.remove_prefix(size);
  }
  return cells;
}

// The record as a tape of bytes, which kordel_glue.js reads into JavaScript's
// objects, arrays, strings, numbers, booleans and nulls in less time than
// JSON.parse takes over the record's JSON text. Each value (and each key) starts with
// an operation byte (TapeOp); a count is unsigned LEB128. A string of ASCII goes
// as its bytes; any other as its JSON text, which puts U+FFFD where the bytes are
// not UTF-8, exactly as the JSON record does. Most of a record's texts (its keys,
// the decoders' words for a field) come from the same place every time: the first
// tape defines such a text with a number, and later tapes give only the number, so
// that the reader makes each of them once per module rather than once per record.
enum TapeOp : char {
  tape_begin_object = 1,  // then keys and values up to tape_end_object
  tape_end_object,
  tape_begin_array,  // then values up to tape_end_array
  tape_end_array,
  tape_text,         // a number: the string defined with it
  tape_define_text,  // a number and a string (tape_ascii or tape_json), defined with it
  tape_ascii,        // a count and that many bytes of ASCII
  tape_json,         // a count and that many bytes of a JSON string's text
  tape_int32,        // four bytes, little-endian, two's complement
  tape_number_text,  // a count and the decimal digits of a number beyond 32 bits
  tape_true,
  tape_false,
  tape_null,
};

class TapeBuilder {
 public:
  TapeBuilder(std::string &out, TapeTexts &texts) : out_(out), texts_(texts) {
    if (texts_.slots.empty()) texts_.slots.resize(1024);
  }

  // The tape: the first bytes of the string given, which is kept at its size from
  // call to call (a string cut to the tape would be filled with zeros again when
  // it grows).
  KordelText tape() const { return {out_.data(), static_cast<std::uint32_t>(size_)}; }

  void begin_object() { op(tape_begin_object); }
  void end_object() { op(tape_end_object); }
  void begin_array() { op(tape_begin_array); }
  void end_array() { op(tape_end_array); }
  void key(std::string_view name) { string(name); }
  void string(std::string_view value) {
    // A text is known by the address it is written from and by its bytes: a slot
    // holds the first text seen at an address, and others there go in full.
    const auto address = reinterpret_cast<std::uintptr_t>(value.data());
    TapeTexts::Slot &slot = texts_.slots[(address * 2654435761U >> 7) % texts_.slots.size()];
    if (slot.used && slot.data == value.data() && same(slot.text, value)) {
      char *at = room(6);
      *at++ = tape_text;
      size_ = static_cast<std::size_t>(count(at, slot.id) - out_.data());
      return;
    }
    if (slot.used || value.size() > max_defined_size || texts_.defined == max_defined_texts) {
      text(value);
      return;
    }
    slot = {true, value.data(), std::string(value), texts_.defined++};
    char *at = room(6);
    *at++ = tape_define_text;
    size_ = static_cast<std::size_t>(count(at, slot.id) - out_.data());
    text(value);
  }
  void number(std::int64_t value) {
    if (value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max()) {
      const auto bits = static_cast<std::uint32_t>(value);
      char *at = room(5);
      at[0] = tape_int32;
      for (int i = 0; i < 4; ++i) at[1 + i] = static_cast<char>(bits >> (8 * i));
      size_ += 5;
      return;
    }
    const std::string digits = std::to_string(value);
    bytes(tape_number_text, digits);
  }
  void boolean(bool value) { op(value ? tape_true : tape_false); }
  void null() { op(tape_null); }

 private:
  // Bounds on what the reader keeps: texts are defined while they are short and few.
  static constexpr std::size_t max_defined_size = 128;
  static constexpr std::uint32_t max_defined_texts = 4096;

  // Where `n` more bytes go; written bytes are counted into size_ by the caller.
  char *room(std::size_t n) {
    if (size_ + n > out_.size()) out_.resize(std::max(2 * out_.size(), size_ + n + 1024));
    return out_.data() + size_;
  }
  void op(char code) { *room(1) = code, ++size_; }
  static char *count(char *at, std::size_t n) {
    for (; n >= 0x80; n >>= 7) *at++ = static_cast<char>(0x80 | (n & 0x7f));
    *at++ = static_cast<char>(n);
    return at;
  }
  static bool same(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (a[i] != b[i]) return false;
    return true;
  }
  // An operation, a count and that many bytes.
  void bytes(char code, std::string_view value) {
    char *at = room(6 + value.size());
    *at++ = code;
    at = count(at, value.size());
    std::memcpy(at, value.data(), value.size());
    size_ = static_cast<std::size_t>(at + value.size() - out_.data());
  }
  void text(std::string_view value) {
    unsigned char high = 0;
    for (const char c : value) high |= static_cast<unsigned char>(c);
    if (high < 0x80) {
      bytes(tape_ascii, value);
      return;
    }
    json_.clear();
    append_json_string(json_, value);
    bytes(tape_json, json_);
  }

  std::string &out_;
  std::size_t size_ = 0;
  TapeTexts &texts_;
  std::string json_;
};

// What became of the VIN, in one word: the best status of its results, so that a
// row whose every report misses a field is never counted as decoded.
const char *outcome(const VinDecode &decode) {
  if (!decode.error().empty()) return "error";
  bool incomplete = false;
  bool rejected = false;
  for (std::size_t i = 0; i < decode.result_count(); ++i) {
    const Status status = decode.result(i).status;
    if (status == Status::decoded) return "decoded";
    incomplete |= status == Status::incomplete;
    rejected |= status == Status::rejected;
  }
  if (incomplete) return "incomplete";
  return rejected ? "rejected" : "unknown";
}

// {"check_digit_warning": text, "unknown_message": the words for a result of
// status unknown, when there is one, "text": the reports as `kordel-decode` prints
// them, "record": the JSON record}; texts are empty when they do not apply.
void write_answer(std::string &out, const VinDecode &decode, const RecordOptions &options) {
  std::string reports, messages;
  append_text_record(reports, messages, decode);
  out = "{\"check_digit_warning\":";
  append_json_string(out, decode.check_digit_warning());
  bool unknown = false;
  for (std::size_t i = 0; i < decode.result_count(); ++i)
    unknown = unknown || decode.result(i).status == Status::unknown;
  out += ",\"unknown_message\":";
  append_json_string(out, unknown ? unknown_message : std::string_view());
  out += ",\"text\":";
  append_json_string(out, reports);
  out += ",\"record\":";
  append_json_record(out, decode, nullptr, options);
  out += '}';
}

}  // namespace

extern "C" {

// The most bytes of a VIN read; a caller may cut a longer text to a byte more.
int kordel_max_vin_bytes() { return static_cast<int>(max_vin_bytes); }

KordelDecoder *kordel_decoder_new() { return new KordelDecoder; }
void kordel_decoder_delete(KordelDecoder *decoder) { delete decoder; }

// Everything the page shows for one VIN, as the JSON text
// {"check_digit_warning", "unknown_message", "text", "record"} (write_answer); year: 0
// tries every candidate year.
const KordelText *kordel_page_answer(KordelDecoder *decoder, const char *vin, int size, int year) {
  decode_line(decoder->decode, bytes_at(vin, size), year);
  write_answer(decoder->text, decoder->decode, page_options);
  return decoder->returned();
}

// One VIN's record alone, what `kordel-decode --format json` writes as a tape
// (TapeBuilder), with --suggest when `flags` has bit 1 and --explain when it has
// bit 2 (the npm package's call); year as for kordel_page_answer.
const KordelText *kordel_record_tape(KordelDecoder *decoder, const char *vin, int size, int year,
                                     int flags) {
  decode_line(decoder->decode, bytes_at(vin, size), year);
  TapeBuilder builder(decoder->text, decoder->texts);
  build_record(builder,
               decoder->decode,
               nullptr,
               RecordOptions{.suggest = (flags & 1) != 0, .explain = (flags & 2) != 0});
  decoder->reply = builder.tape();
  return &decoder->reply;
}

// Whether `year` is a model year a caller may give, and the words for the ones
// it may (model_year_forms()), so that the npm package checks its option as the
// record does and says so in the record's words.
int kordel_model_year_accepted(int year) {
  return parse_model_year(std::to_string(year)).has_value() ? 1 : 0;
}
const char *kordel_model_year_forms() {
  static const std::string forms = model_year_forms();
  return forms.c_str();
}

void kordel_list_delete(KordelList *list) { delete list; }

// Decodes a row of the list (packed cells: the input row, whose cell at
// vin_column is the VIN, or the one cell of a list of lines), appends its CSV rows
// and returns what became of it, with its answer when `with_answer` is not 0.
const KordelListRow *kordel_list_row(KordelList *list, const char *cells, int size, int vin_column,
                                     int year, int with_answer) {
  list->cells = unpack_cells(bytes_at(cells, size));
  VinDecode &decode = list->decoder.decode;
  list->row = {};
  if (list->header.empty()) {
    const std::string_view line = list->cells.empty() ? std::string_view() : list->cells.front();
    if (trim_vin(line).empty()) return &list->row;
    decode_line(decode, line, year);
  } else {
    const auto column = static_cast<std::size_t>(vin_column);
    decode_for(decode,
               vin_column >= 0 && column < list->cells.size()
                   ? std::string_view(list->cells[column])
                   : std::string_view(),
               year);
  }
  list->suggestions = suggestions_for(decode);
  const RecordOptions options{.suggest = true,
                              .suggestions = &list->suggestions,
                              .csv_delimiter = list->delimiter,
                              .csv_raw = list->raw};
  const CsvRow row{list->header, list->cells};
  append_csv_rows(list->csv, decode, list->header.empty() ? nullptr : &row, options);
  list->row.outcome = outcome(decode);
  if (with_answer != 0) {
    write_answer(list->decoder.text, decode, options);
    list->row.answer = *list->decoder.returned();
  }
  return &list->row;
}

// The list's CSV written since the last call, in the list's encoding, handed
// over: the module forgets it once returned, so a long list's CSV is taken in
// pieces and never held whole.
const KordelText *kordel_list_take_csv(KordelList *list) {
  list->taken.swap(list->csv);
  list->csv.clear();
  if (list->encoding == TextEncoding::windows1252) list->taken = utf8_to_windows1252(list->taken);
  list->csv_text = {list->taken.data(), static_cast<std::uint32_t>(list->taken.size())};
  return &list->csv_text;
}

}  // extern "C"

// ---- CSV dialects: how a list file is written, and its CSV written back alike ----

namespace {

int encoding_number(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::utf8: return 0;
    case TextEncoding::utf8_bom: return 1;
    case TextEncoding::windows1252: return 2;
  }
  return 0;
}

}  // namespace

extern "C" {

// The dialect of a file from its first bytes (the first 64 KiB are read), as
// kordel-decode finds it: the delimiter's byte plus 256 times the encoding (0
// UTF-8, 1 UTF-8 with a byte-order mark, 2 Windows-1252).
int kordel_sniff_dialect(const char *head, int size) {
  const CsvDialect dialect = sniff_csv_dialect(bytes_at(head, size).substr(0, 64 * 1024));
  return static_cast<unsigned char>(dialect.delimiter) + 256 * encoding_number(dialect.encoding);
}

// A new list whose CSV starts with its header: `header` holds the input's column
// names as packed cells (unpack_cells; none, and the list is of VINs one a line).
// The CSV is written with `delimiter` (',', ';' or '\t'), in `encoding` (as
// kordel_sniff_dialect numbers it: a byte-order mark starts it, or
// kordel_list_take_csv hands it over in Windows-1252), and with its cells as read
// when `raw` is not 0.
KordelList *kordel_list_new(const char *header, int size, int delimiter, int encoding, int raw) {
  auto *list = new KordelList;
  list->header = unpack_cells(bytes_at(header, size));
  list->delimiter = delimiter == ';' || delimiter == '\t' ? static_cast<char>(delimiter) : ',';
  list->raw = raw != 0;
  list->encoding = encoding == 1   ? TextEncoding::utf8_bom
                   : encoding == 2 ? TextEncoding::windows1252
                                   : TextEncoding::utf8;
  if (list->encoding == TextEncoding::utf8_bom) list->csv += utf8_bom;
  const CsvRow row{list->header, {}};
  append_csv_header(
      list->csv,
      list->header.empty() ? nullptr : &row,
      RecordOptions{.suggest = true, .csv_delimiter = list->delimiter, .csv_raw = list->raw});
  return list;
}

}  // extern "C"
