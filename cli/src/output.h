// Writing decoded VINs as text, JSON Lines or CSV. Records go out whole: the
// output is buffered and written in whole records, and a failed write ends the run.
#pragma once

#include <sys/types.h>

#include <span>
#include <string>
#include <string_view>

#include "csv_dialect.h"
#include "csv_record.h"
#include "json_record.h"
#include "text_record.h"
#include "vin_decode.h"

namespace kordel::cli {

using record::CsvRow;
using record::VinDecode;

enum class Format { text, json, csv };

// A buffer written to a file descriptor in whole records. When a write fails (a
// full disk, a file size limit), a regular file is cut back to what it held before
// the Sink was made, appended to or not; a file written from inside is left as it is,
// since what was overwritten cannot be put back.
class Sink {
 public:
  explicit Sink(int fd);
  std::string &buffer() { return buffer_; }
  // Writes the buffer once it has grown past a block, or always when `force` or
  // when each record is to go out at once. Returns false, with error() set, when
  // the descriptor refuses it.
  bool flush(bool force = false);
  const std::string &error() const { return error_; }
  // Writes every record as soon as it is complete (a terminal, --line-buffered).
  void set_line_buffered(bool on) { line_buffered_ = on; }

 private:
  int fd_;
  off_t start_ = -1;  // the file's size at the start; -1 where it is not to be cut
  bool line_buffered_ = false;
  std::string buffer_;
  std::string error_;
};

class Output {
 public:
  // options.suggest adds the suggestions to every format, options.explain the
  // position meanings to JSON.
  Output(Format format, Sink &out, Sink &messages, const record::RecordOptions &options = {});

  // Writes one decoded VIN; `row` is its CSV input row, if any.
  void write(const VinDecode &decode, const CsvRow *row = nullptr);

  // The CSV output's delimiter and encoding (a Windows-1252 or byte-order-marked
  // input is written back so); set before the first record.
  void set_dialect(const record::CsvDialect &dialect);

  // Input rows with cells past the header, which the CSV output leaves out.
  std::size_t rows_past_header() const { return rows_past_header_; }

  // Whether every VIN written so far got a report, and whether every one that did
  // is clean (VinDecode::clean()), for the exit status.
  bool all_decoded() const { return all_decoded_; }
  bool all_clean() const { return all_clean_; }
  std::size_t count() const { return count_; }

 private:
  void write_csv(const VinDecode &decode, const CsvRow *row);

  Format format_;
  Sink &out_, &messages_;
  record::RecordOptions options_;
  record::TextEncoding encoding_ = record::TextEncoding::utf8;
  std::string scratch_;  // a CSV record before it is turned into Windows-1252
  std::size_t rows_past_header_ = 0;
  bool all_decoded_ = true;
  bool all_clean_ = true;
  bool header_written_ = false;
  bool wrote_report_ = false;  // text: a report went out, so the next one gets a blank line
  std::size_t count_ = 0;
};

}  // namespace kordel::cli
