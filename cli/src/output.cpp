#include "output.h"

#include <csv.h>
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
  std::string_view text = m.text;
  if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
  out += text;
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

constexpr std::string_view unknown_text = "the codes name no model line or body";

}  // namespace

bool Sink::flush(bool force) {
  if (!error_.empty()) return false;
  if (buffer_.empty() || (!force && buffer_.size() < block)) return true;
  // Where the block started, so that a file is cut back to whole records if a
  // write fails halfway (a full disk, say).
  const off_t start = lseek(fd_, 0, SEEK_CUR);
  std::size_t written = 0;
  while (written < buffer_.size()) {
    const ssize_t n = ::write(fd_, buffer_.data() + written, buffer_.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = std::strerror(n < 0 ? errno : EIO);
      struct stat info {};
      if (written != 0 && start >= 0 && fstat(fd_, &info) == 0 && S_ISREG(info.st_mode) &&
          ftruncate(fd_, start) == 0)
        lseek(fd_, start, SEEK_SET);
      buffer_.clear();
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  buffer_.clear();
  return true;
}

void append_csv_field(std::string &out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  const std::size_t start = out.size();
  out.resize(start + 2 * text.size() + 2);  // every quote doubled, and the two around
  const std::size_t n = csv_write(out.data() + start, out.size() - start, text.data(), text.size());
  out.resize(start + n);
}

Output::Output(Format format, Sink &out, Sink &messages)
    : format_(format), out_(out), messages_(messages) {}

void Output::write(const VinDecode &decode, const CsvRow *row) {
  if (!decode.decoded()) all_decoded_ = false;
  switch (format_) {
    case Format::text: write_text(decode); break;
    case Format::json:
      append_json_record(out_.buffer(), decode, row);
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
    return;
  }
  if (const std::string warning = decode.check_digit_warning(); !warning.empty()) {
    err += decode.vin();
    err += ": warning: ";
    err += warning;
    err += '\n';
  }
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
      err += unknown_text;
      err += '\n';
    }
    if (decode.ambiguous()) {
      separate();
      out += "Model year " + year_text(a.model_year) + ":\n";
    }
    if (a.status == Status::decoded) {
      if (!decode.ambiguous()) separate();
      decode.append_report(out, i, "\n");
      out += '\n';
    }
  }
}

// A blank line between the reports of one VIN and the next.
void Output::separate() {
  if (wrote_text_) out_.buffer() += '\n';
  wrote_text_ = true;
}

void Output::write_csv_header(const CsvRow *row) {
  std::string &out = out_.buffer();
  if (row != nullptr) {
    for (const std::string &name : row->header) {
      append_csv_field(out, name);
      out += ',';
    }
  } else {
    out += "vin,";
  }
  out +=
      "model_year,status,year,make,model,series,body,engine,trans,plant,vehicle_type,"
      "restraints,check_digit,check_digit_expected,production_number,message\r\n";
}

void Output::write_csv(const VinDecode &decode, const CsvRow *row) {
  if (!header_written_) {
    write_csv_header(row);
    header_written_ = true;
  }
  if (!decode.error().empty()) {
    write_csv_row(decode, row, VinDecode::max_attempts);
    return;
  }
  for (std::size_t i = 0; i < decode.attempt_count(); ++i) write_csv_row(decode, row, i);
}

// One row: the input's columns (or the VIN), then what the decode of one model
// year gave; `attempt` past the attempts writes the VIN's error.
void Output::write_csv_row(const VinDecode &decode, const CsvRow *row, std::size_t attempt) {
  std::string &out = out_.buffer();
  const auto field = [&out](std::string_view text) {
    append_csv_field(out, text);
    out += ',';
  };
  const auto optional_field = [&](std::optional<std::string_view> text) {
    field(text ? *text : std::string_view());
  };
  if (row != nullptr) {
    for (std::size_t i = 0; i < row->header.size(); ++i)
      field(i < row->fields.size() ? std::string_view(row->fields[i]) : std::string_view());
  } else {
    field(decode.vin());
  }

  std::string message;
  const auto add_message = [&message](std::string_view text) {
    if (!message.empty()) message += "; ";
    message += text;
  };
  const std::optional<CheckDigit> &check = decode.check_digit();
  if (attempt >= decode.attempt_count()) {
    out += ",error,,,,,,,,,,,,,,";
    add_message(decode.error());
  } else {
    const Attempt a = decode.attempt(attempt);
    field(a.model_year != 0 ? year_text(a.model_year) : std::string());
    field(status_name(a.status));
    const bool decoded = a.status == Status::decoded;
    const Vin13Fields *f13 = decoded ? decode.fields13(attempt) : nullptr;
    const Vin17Fields *f17 = decoded ? decode.fields17() : nullptr;
    const auto text13 = [&](std::string_view Vin13Fields::*member) {
      optional_field(f13 ? field_text(f13->*member) : std::string_view());
    };
    const auto text17 = [&](std::string_view Vin17Fields::*member) {
      optional_field(f17 ? field_text(f17->*member) : std::string_view());
    };
    const auto text_either = [&](std::string_view Vin13Fields::*m13,
                                 std::string_view Vin17Fields::*m17) {
      if (f13)
        text13(m13);
      else
        text17(m17);
    };
    text_either(&Vin13Fields::year, &Vin17Fields::year);
    text_either(&Vin13Fields::make, &Vin17Fields::make);
    text_either(&Vin13Fields::model, &Vin17Fields::model);
    text13(&Vin13Fields::series);
    text13(&Vin13Fields::body);
    text_either(&Vin13Fields::engine, &Vin17Fields::engine);
    text_either(&Vin13Fields::trans, &Vin17Fields::trans);
    text_either(&Vin13Fields::plant, &Vin17Fields::plant);
    text17(&Vin17Fields::vehicle_type);
    text17(&Vin17Fields::restraints);
    field(check ? std::string_view(&check->given, 1) : std::string_view());
    field(check && check->expected ? std::string_view(&*check->expected, 1) : std::string_view());
    field(decode.production_number() ? std::to_string(*decode.production_number()) : std::string());
    for (const Message &m : *a.messages) {
      std::string_view text = m.text;
      if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
      add_message(text);
    }
    if (a.status == Status::unknown) add_message(unknown_text);
    if (check && !check->valid()) add_message(decode.check_digit_warning());
  }
  append_csv_field(out, message);
  out += "\r\n";
}

}  // namespace kordel::cli
