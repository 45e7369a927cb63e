#include "text_record.h"

namespace kordel::record {
namespace {

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

// "VIN: did you mean: SUGGESTION (position 8: Q -> 0), its report's line 1", one
// line each, after the VIN's messages.
void append_suggestion_lines(std::string &err, const VinDecode &decode,
                             const RecordOptions &options) {
  if (!options.suggest) return;
  std::vector<Suggestion> found;
  if (options.suggestions == nullptr) found = suggestions_for(decode);
  for (const Suggestion &s : options.suggestions != nullptr ? *options.suggestions : found) {
    err += decode.vin();
    err += ": did you mean: ";
    append_suggestion_text(err, s);
    err += ", ";
    err += s.summary;
    err += '\n';
  }
}

}  // namespace

bool append_text_record(std::string &out, std::string &err, const VinDecode &decode,
                        const RecordOptions &options, bool after_report) {
  // A blank line between two reports, this VIN's or the one before's.
  const auto separate = [&] {
    if (after_report) out += '\n';
    after_report = true;
  };
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
    append_suggestion_lines(err, decode, options);
    return after_report;
  }
  decode.for_each_warning([&](std::string_view warning) {
    err += decode.vin();
    err += ": warning: ";
    err += warning;
    err += '\n';
  });
  for (std::size_t i = 0; i < decode.result_count(); ++i) {
    const Result a = decode.result(i);
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
  append_suggestion_lines(err, decode, options);
  return after_report;
}

}  // namespace kordel::record
