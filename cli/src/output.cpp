#include "output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kordel::cli {

using namespace kordel::record;
namespace {

constexpr std::size_t block = 1 << 16;

std::string year_text(int model_year) { return std::to_string(1900 + model_year); }

// A message as the text format prints it: the decoder's text, and for a rejected
// position what it holds and what it accepts.
void append_message_text(std::string &out, const VinDecode &decode, const Message &m) {
  out += message_text(m);
  if (m.position != 0 && m.position <= 17) {
    out += " (position ";
    out += std::to_string(m.position);
    out += " holds \"";
    out += decode.character(m.position);
    out += '"';
    if (!m.accepted.empty()) {
      out += "; accepted: ";
      out += m.accepted;
    }
    out += ')';
  }
}

}  // namespace

Sink::Sink(int fd) : fd_(fd) {
  // Only a regular file written at its end can be given back as it was: opened for
  // appending (where the offset says nothing until the first write), or with the
  // offset at its end (a file the shell has just emptied for `>`).
  struct stat info {};
  if (fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return;
  const int flags = fcntl(fd_, F_GETFL);
  const off_t offset = lseek(fd_, 0, SEEK_CUR);
  if (flags != -1 && ((flags & O_APPEND) != 0 || offset == info.st_size)) start_ = info.st_size;
}

bool Sink::flush(bool force) {
  if (!error_.empty()) return false;
  if (buffer_.empty() || (!force && !line_buffered_ && buffer_.size() < block)) return true;
  std::size_t written = 0;
  while (written < buffer_.size()) {
    const ssize_t n = ::write(fd_, buffer_.data() + written, buffer_.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = std::strerror(n < 0 ? errno : EIO);
      // What this run wrote goes, so that no part of it is taken for the whole.
      struct stat info {};
      if (start_ >= 0 && fstat(fd_, &info) == 0 && info.st_size > start_ &&
          ftruncate(fd_, start_) == 0)
        lseek(fd_, start_, SEEK_SET);
      buffer_.clear();
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  buffer_.clear();
  return true;
}

Output::Output(Format format, Sink &out, Sink &messages, const RecordOptions &options)
    : format_(format), out_(out), messages_(messages), options_(options) {}

void Output::write(const VinDecode &decode, const CsvRow *row) {
  if (!decode.decoded())
    all_decoded_ = false;
  else if (!decode.clean())
    all_clean_ = false;
  switch (format_) {
    case Format::text: write_text(decode); break;
    case Format::json:
      append_json_record(out_.buffer(), decode, row, options_);
      out_.buffer() += '\n';
      break;
    case Format::csv: write_csv(decode, row); break;
  }
  ++count_;
  out_.flush();
  messages_.flush();
}

void Output::write_text(const VinDecode &decode) {
  std::string &out = out_.buffer();
  std::string &err = messages_.buffer();
  const auto message_prefix = [&](int model_year) {
    err += decode.vin();
    if (decode.ambiguous()) err += ", model year " + year_text(model_year);
    err += ": ";
  };
  if (!decode.error().empty()) {
    err += decode.vin();
    err += ": ";
    err += decode.error();
    err += '\n';
    write_suggestions(decode);
    return;
  }
  decode.for_each_warning([&](std::string_view warning) {
    err += decode.vin();
    err += ": warning: ";
    err += warning;
    err += '\n';
  });
  for (std::size_t i = 0; i < decode.attempt_count(); ++i) {
    const Attempt a = decode.attempt(i);
    for (const Message &m : *a.messages) {
      message_prefix(a.model_year);
      if (m.goes_on) err += "warning: ";
      append_message_text(err, decode, m);
      err += '\n';
    }
    if (a.status == Status::unknown) {
      message_prefix(a.model_year);
      err += unknown_message;
      err += '\n';
    }
    if (a.status == Status::incomplete) {
      message_prefix(a.model_year);
      err += "warning: ";
      err += decode.incomplete_reason(i);
      err += '\n';
    }
    if (decode.ambiguous()) {
      separate();
      out += "Model year " + year_text(a.model_year) + ":\n";
    }
    if (a.status == Status::decoded || a.status == Status::incomplete) {
      if (!decode.ambiguous()) separate();
      decode.append_report(out, i, "\n");
      out += '\n';
    }
  }
  write_suggestions(decode);
}

// "VIN: did you mean: SUGGESTION (position 8: Q -> 0), its report's line 1" on
// standard error, one line each, after the VIN's messages.
void Output::write_suggestions(const VinDecode &decode) {
  if (!options_.suggest) return;
  std::string &err = messages_.buffer();
  for (const Suggestion &s : suggestions_for(decode)) {
    err += decode.vin();
    err += ": did you mean: ";
    append_suggestion_text(err, s);
    err += ", ";
    err += s.summary;
    err += '\n';
  }
}

// A blank line between the reports of one VIN and the next.
void Output::separate() {
  if (wrote_text_) out_.buffer() += '\n';
  wrote_text_ = true;
}

void Output::set_dialect(const CsvDialect &dialect) {
  options_.csv_delimiter = dialect.delimiter;
  encoding_ = dialect.encoding;
}

void Output::write_csv(const VinDecode &decode, const CsvRow *row) {
  if (row != nullptr && row->fields.size() > row->header.size()) ++rows_past_header_;
  const bool windows1252 = encoding_ == TextEncoding::windows1252;
  std::string &out = windows1252 ? scratch_ : out_.buffer();
  if (!header_written_) {
    if (encoding_ == TextEncoding::utf8_bom) out += utf8_bom;
    append_csv_header(out, row, options_);
    header_written_ = true;
  }
  append_csv_rows(out, decode, row, options_);
  if (windows1252) {
    out_.buffer() += utf8_to_windows1252(scratch_);
    scratch_.clear();
  }
}

}  // namespace kordel::cli
