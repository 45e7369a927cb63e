#include "input.h"

#include <csv.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kordel::cli {
namespace {

// Reads what the stream has next, at most `size` bytes: their count, 0 at its end,
// -1 (errno set) when reading fails.
ssize_t read_some(int fd, char *buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

// Hands the stream to `consume` in pieces as they arrive (a line typed or appended
// to a followed file is decoded at once, not when a block has filled); returns an
// error text if reading failed.
template <class Consume>
std::string for_each_chunk(std::FILE *in, Consume consume) {
  std::vector<char> buffer(1 << 16);
  const int fd = fileno(in);
  for (;;) {
    const ssize_t n = read_some(fd, buffer.data(), buffer.size());
    if (n < 0) return std::strerror(errno);
    if (n == 0) return {};
    if (!consume(std::string_view(buffer.data(), static_cast<std::size_t>(n)))) return {};
  }
}

// How much of a CSV file's start its dialect is read from.
constexpr std::size_t sniffed_bytes = 1 << 16;

// The dialect chosen, what was not chosen read from the file's start.
record::CsvDialect choose_dialect(std::string_view head, const CsvChoice &choice) {
  record::CsvDialect dialect = record::sniff_csv_dialect(head.substr(0, sniffed_bytes));
  if (choice.delimiter) dialect.delimiter = *choice.delimiter;
  if (choice.encoding) dialect.encoding = *choice.encoding;
  return dialect;
}

// Splits pieces into lines, keeping no more than max_line_bytes of any line.
class LineSplitter {
 public:
  explicit LineSplitter(const LineHandler &handle) : handle_(handle) {}

  bool consume(std::string_view chunk) {
    while (!chunk.empty()) {
      const std::size_t end = chunk.find('\n');
      const std::string_view piece = chunk.substr(0, end);
      if (end != std::string_view::npos && carry_.empty() && !too_long_ &&
          piece.size() <= max_line_bytes) {
        // The common case: a whole line within the piece.
        if (!emit(piece, false)) return false;
      } else {
        keep(piece);
        if (end == std::string_view::npos) return true;
        if (!finish()) return false;
      }
      chunk.remove_prefix(end + 1);
    }
    return true;
  }

  bool finish() {
    const bool go_on = emit(carry_, too_long_);
    carry_.clear();
    too_long_ = false;
    return go_on;
  }
  bool pending() const { return !carry_.empty() || too_long_; }

 private:
  void keep(std::string_view piece) {
    if (too_long_) return;
    if (carry_.size() + piece.size() > max_line_bytes) {
      carry_.append(piece.substr(0, max_line_bytes - carry_.size()));
      too_long_ = true;
    } else {
      carry_.append(piece);
    }
  }

  // A byte-order mark that an editor put at the start is no part of the first VIN.
  bool emit(std::string_view line, bool too_long) {
    if (first_) {
      first_ = false;
      if (line.starts_with(record::utf8_bom)) line.remove_prefix(record::utf8_bom.size());
    }
    return handle_(line, too_long);
  }

  const LineHandler &handle_;
  std::string carry_;
  bool too_long_ = false;
  bool first_ = true;
};

// libcsv grows its field buffer with this; refusing past the limit makes it stop
// with CSV_ENOMEM instead of reading a field of any length into memory.
void *bounded_realloc(void *p, std::size_t size) {
  return size > max_csv_bytes ? nullptr : std::realloc(p, size);
}

class CsvReader {
 public:
  CsvReader(const std::string &column, const record::CsvDialect &dialect, const RowHandler &handle)
      : column_(column),
        handle_(handle),
        windows1252_(dialect.encoding == record::TextEncoding::windows1252) {
    csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI);
    csv_set_realloc_func(&parser_, bounded_realloc);
    csv_set_delim(&parser_, static_cast<unsigned char>(dialect.delimiter));
  }
  ~CsvReader() { csv_free(&parser_); }
  CsvReader(const CsvReader &) = delete;
  CsvReader &operator=(const CsvReader &) = delete;

  bool consume(std::string_view chunk) {
    const std::size_t n = csv_parse(&parser_, chunk.data(), chunk.size(), on_field, on_row, this);
    if (error_.empty() && !stopped_ && n != chunk.size()) error_ = parser_error();
    return error_.empty() && !stopped_;
  }

  std::string finish() {
    if (stopped_) return {};
    if (error_.empty() && csv_fini(&parser_, on_field, on_row, this) != 0) error_ = parser_error();
    if (error_.empty() && !have_header_) error_ = "the CSV input has no header row";
    return error_;
  }

 private:
  std::string parser_error() {
    const std::string row = "row " + std::to_string(rows_ + 1);
    switch (csv_error(&parser_)) {
      case CSV_EPARSE: return "unbalanced or misplaced quotes in CSV " + row;
      case CSV_ENOMEM: return "a CSV field in " + row + " is longer than 1 MiB";
      default:
        return std::string("cannot read CSV ") + row + ": " + csv_strerror(csv_error(&parser_));
    }
  }

  static void on_field(void *text, std::size_t length, void *self) {
    auto *r = static_cast<CsvReader *>(self);
    if (!r->error_.empty() || r->stopped_) return;
    r->row_bytes_ += length;
    if (r->fields_.size() >= max_csv_fields || r->row_bytes_ > max_csv_bytes) {
      r->error_ = "CSV row " + std::to_string(r->rows_ + 1) + " is too large";
      return;
    }
    const std::string_view cell(static_cast<const char *>(text), length);
    if (r->windows1252_)
      r->fields_.push_back(record::windows1252_to_utf8(cell));
    else
      r->fields_.emplace_back(cell);
  }

  static void on_row(int, void *self) {
    auto *r = static_cast<CsvReader *>(self);
    if (r->error_.empty() && !r->stopped_) r->row();
    r->fields_.clear();
    r->row_bytes_ = 0;
  }

  void row() {
    ++rows_;
    if (!have_header_) {
      have_header_ = true;
      header_ = fields_;
      // A spreadsheet's UTF-8 byte order mark is no part of the first column's name.
      if (!header_.empty() && header_[0].starts_with("\xEF\xBB\xBF")) header_[0].erase(0, 3);
      const auto found = std::find(header_.begin(), header_.end(), column_);
      if (found == header_.end()) {
        error_ = "the CSV header has no column \"" + column_ + "\"";
        return;
      }
      column_index_ = static_cast<std::size_t>(found - header_.begin());
      name_columns(header_.size());
      return;
    }
    // A row wider than any before: names for its cells past the header.
    if (fields_.size() > names_.size()) name_columns(fields_.size());
    const std::string_view vin =
        column_index_ < fields_.size() ? std::string_view(fields_[column_index_]) : "";
    const record::CsvRow row{
        header_,
        fields_,
        names_differ_ ? std::span<const std::string>(names_) : std::span<const std::string>()};
    if (!handle_(row, vin)) stopped_ = true;
  }

  void name_columns(std::size_t width) {
    names_ = record::csv_column_names(header_, width);
    names_differ_ = names_ != header_;
  }

  const std::string &column_;
  const RowHandler &handle_;
  csv_parser parser_{};
  std::vector<std::string> header_, fields_;
  std::vector<std::string> names_;  // the row member's keys
  bool names_differ_ = false;       // from the header's
  std::size_t column_index_ = 0, rows_ = 0, row_bytes_ = 0;
  bool windows1252_ = false;
  bool have_header_ = false;
  bool stopped_ = false;  // the handler wants no more rows
  std::string error_;
};

}  // namespace

std::string read_lines(std::FILE *in, const LineHandler &handle) {
  LineSplitter lines(handle);
  bool go_on = true;
  std::string error =
      for_each_chunk(in, [&](std::string_view chunk) { return go_on = lines.consume(chunk); });
  if (go_on && lines.pending()) lines.finish();
  return error;
}

std::string read_lines(std::string_view data, const LineHandler &handle) {
  LineSplitter lines(handle);
  if (lines.consume(data) && lines.pending()) lines.finish();
  return {};
}

std::string read_csv(std::FILE *in, const std::string &column, const CsvChoice &choice,
                     record::CsvDialect &dialect, const RowHandler &handle) {
  // The start the dialect is read from, unless both are given (so that a followed
  // pipe is not held up until 64 KiB have come).
  std::string head, error;
  bool ended = false;
  if (!choice.delimiter || !choice.encoding) {
    std::vector<char> buffer(sniffed_bytes);
    while (head.size() < sniffed_bytes) {
      const ssize_t n = read_some(fileno(in), buffer.data(), sniffed_bytes - head.size());
      if (n < 0) error = std::strerror(errno);
      if (n <= 0) {
        ended = true;
        break;
      }
      head.append(buffer.data(), static_cast<std::size_t>(n));
    }
  }
  dialect = choose_dialect(head, choice);
  CsvReader reader(column, dialect, handle);
  const bool go_on = head.empty() || reader.consume(head);
  if (go_on && !ended)
    error = for_each_chunk(in, [&](std::string_view chunk) { return reader.consume(chunk); });
  const std::string csv_error = reader.finish();
  return error.empty() ? csv_error : error;  // a failed read explains a broken CSV
}

std::string read_csv(std::string_view data, const std::string &column, const CsvChoice &choice,
                     record::CsvDialect &dialect, const RowHandler &handle) {
  dialect = choose_dialect(data, choice);
  CsvReader reader(column, dialect, handle);
  reader.consume(data);
  return reader.finish();
}

}  // namespace kordel::cli
