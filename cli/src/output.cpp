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
    case Format::text:
      wrote_report_ =
          append_text_record(out_.buffer(), messages_.buffer(), decode, options_, wrote_report_);
      break;
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
