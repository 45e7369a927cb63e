// The C entry points: run the core, show its messages, write the caller's buffers.
#include <cstdio>
#include <cstring>

#include "decode.h"
#include "kordel.h"

// Provided by the host program; when it provides none, messages go to stderr.
extern "C" int MessageBoxA(void *owner, const char *text, const char *caption, unsigned type)
    __attribute__((weak));

namespace kordel {
namespace {

void show(const Messages &messages) {
  for (const Message &m : messages) {
    if (m.kind == MessageKind::standard_output) {
      // Text and line break in one call, which holds the stream's lock throughout,
      // so that messages of calls overlapping on several threads never interleave.
      std::fprintf(stdout, "%s\n", m.text);
      std::fflush(stdout);
    } else if (MessageBoxA != nullptr) {
      MessageBoxA(nullptr, m.text, m.title, 0);
    } else {
      std::fprintf(stderr, "%s: %s\n", m.title, m.text);
    }
  }
}

// Copies each written line with its terminator and nothing beyond it.
void write_lines(const ReportLines &report, char *const lines[5]) {
  for (std::size_t i = 0; i < report.line_count; ++i)
    std::memcpy(lines[i], report.lines[i].data(), report.lengths[i] + 1);
}

// Shows the decode's messages, copies its lines and gives what the entry point returns.
template <class Result>
int deliver(const Result &r, char *const lines[5]) {
  show(r.messages);
  write_lines(r.report, lines);
  return r.return_code;
}

bool any_null(const char *vin, char *const lines[5]) {
  if (vin == nullptr) return true;
  for (int i = 0; i < 5; ++i)
    if (lines[i] == nullptr) return true;
  return false;
}

}  // namespace
}  // namespace kordel

extern "C" int process_13(int model_year, const char *vin, char *line1, char *line2, char *line3,
                          char *line4, char *line5) {
  char *const lines[5] = {line1, line2, line3, line4, line5};
  if (kordel::any_null(vin, lines)) return 0;
  return kordel::deliver(kordel::decode_13(model_year, vin), lines);
}

extern "C" int process_17(int /*model_year*/, const char *vin, char *line1, char *line2,
                          char *line3, char *line4, char *line5) {
  char *const lines[5] = {line1, line2, line3, line4, line5};
  if (kordel::any_null(vin, lines)) return 0;
  return kordel::deliver(kordel::decode_17(vin), lines);
}
