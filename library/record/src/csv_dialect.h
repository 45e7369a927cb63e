// How a CSV file is written: its delimiter and its text encoding, read from the start
// of the file, so that a list comes back the way it was given (a semicolon-separated
// Windows-1252 file from a spreadsheet in a European locale, say).
#pragma once

#include <string>
#include <string_view>

namespace kordel::record {

enum class TextEncoding { utf8, utf8_bom, windows1252 };

struct CsvDialect {
  char delimiter = ',';
  TextEncoding encoding = TextEncoding::utf8;
};

// The UTF-8 byte-order mark.
inline constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";

// From the start of a file (its first 64 KiB): the encoding (a UTF-8 byte-order mark,
// else valid UTF-8, else Windows-1252) and the delimiter among ',', ';' and '\t':
// the one that splits the most of the first 20 non-empty lines into the same number
// (>1) of cells as the header; a tie goes to the delimiter under which a header cell
// names the VIN (a cell that, upper-cased and trimmed, is "VIN" or starts with "VIN "
// or "VIN_" or "VIN#"), else to ',' then ';' then '\t'. Quotes are honoured.
CsvDialect sniff_csv_dialect(std::string_view head);

// Whether `text` is valid UTF-8; `allow_cut_end` accepts a sequence cut short at the
// end (the end of a file's first bytes rather than of the file).
bool valid_utf8(std::string_view text, bool allow_cut_end = false);

// Windows-1252 to UTF-8 and back as the WHATWG Encoding Standard maps it (as a web
// page's TextDecoder does): its five unassigned bytes are the C1 controls of the same
// value. UTF-8 that Windows-1252 lacks, and bytes that are not UTF-8, become '?'.
std::string windows1252_to_utf8(std::string_view text);
std::string utf8_to_windows1252(std::string_view text);

}  // namespace kordel::record
