// Decodes a large fixed set of generated VINs through both entry points of the
// built library and writes every observable result to standard output as binary
// records, for `decode_dump | sha256sum` before and after a change that must
// not change behaviour. Each record holds the entry point, model year and VIN,
// the return value, all bytes of the five buffers (preset to a pattern, so bytes
// past a terminator count), every message box in order with its owner, type,
// caption and text, and the bytes the call wrote and flushed to standard output.
// The counts of calls, boxes and output bytes go to standard error.
#include <unistd.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "kordel.h"

namespace {

std::string boxes;  // the message boxes of the current call, serialised
long calls = 0, boxes_shown = 0;

}  // namespace

extern "C" __attribute__((visibility("default"))) int MessageBoxA(void *owner, const char *text,
                                                                  const char *caption,
                                                                  unsigned type) {
  ++boxes_shown;
  boxes += owner == nullptr ? 'N' : 'P';
  boxes += std::to_string(type) + '|' + caption + '|' + text + '\0';
  return 1;
}

namespace {

using EntryPoint = int (*)(int, const char *, char *, char *, char *, char *, char *);

FILE *out = nullptr;
char *captured = nullptr;  // what the library flushed to standard output so far
std::size_t captured_size = 0, reported_size = 0;

void put(std::string_view bytes) {
  const auto n = static_cast<std::uint32_t>(bytes.size());
  std::fwrite(&n, sizeof n, 1, out);
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), out);
}

constexpr std::size_t buffer_size = KORDEL_LINE_CAPACITY + 19;

// One call: null_line is 0..4 to pass a null line pointer, -1 for none.
void decode(char scheme, int model_year, const char *vin, int null_line = -1) {
  std::array<std::array<char, buffer_size>, 5> lines;
  for (std::size_t i = 0; i < 5; ++i) lines[i].fill(static_cast<char>(0xA0 + i));
  char *p[5];
  for (int i = 0; i < 5; ++i) p[i] = i == null_line ? nullptr : lines[i].data();
  boxes.clear();
  const EntryPoint entry = scheme == '3' ? process_13 : process_17;
  const int result = entry(model_year, vin, p[0], p[1], p[2], p[3], p[4]);
  ++calls;

  std::fputc(scheme, out);
  std::fwrite(&model_year, sizeof model_year, 1, out);
  put(vin == nullptr ? std::string_view("(null)") : std::string_view(vin));
  std::fputc(null_line + '0', out);
  std::fwrite(&result, sizeof result, 1, out);
  for (const auto &line : lines) std::fwrite(line.data(), 1, line.size(), out);
  put(boxes);
  put(std::string_view(captured + reported_size, captured_size - reported_size));
  reported_size = captured_size;
}

const std::string alphabet =
    std::string("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZacefkmz #") + '\x80' + '\xff';

std::vector<int> model_years() {
  std::vector<int> years{0};
  for (int y = 67; y <= 81; ++y) years.push_back(y);
  return years;
}

const std::vector<int> years = model_years();
const int odd_years[] = {-1, 1, 66, 82, 99, 1968, INT_MIN, INT_MAX};

// Every character of the alphabet at every pair of positions of each base, the
// model year taken in turn; every character at every single position with every
// model year; every prefix and some extensions with both entry points.
void vary(char scheme, const std::vector<std::string> &bases) {
  std::size_t turn = 0;
  for (const std::string &base : bases) {
    const std::size_t n = base.size();
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = i + 1; j < n; ++j)
        for (char a : alphabet)
          for (char b : alphabet) {
            std::string vin = base;
            vin[i] = a;
            vin[j] = b;
            decode(scheme, years[turn++ % years.size()], vin.c_str());
          }
    for (std::size_t i = 0; i < n; ++i)
      for (char a : alphabet) {
        std::string vin = base;
        vin[i] = a;
        for (int y : years) decode(scheme, y, vin.c_str());
        for (int y : odd_years) decode(scheme, y, vin.c_str());
      }
    for (std::size_t length = 0; length <= n; ++length) {
      const std::string prefix = base.substr(0, length);
      for (int y : years) {
        decode('3', y, prefix.c_str());
        decode('7', y, prefix.c_str());
      }
    }
    for (char a : alphabet)
      for (const std::string &tail : {std::string(1, a), std::string(5, a), std::string(40, a)}) {
        decode('3', 0, (base + tail).c_str());
        decode('7', 0, (base + tail).c_str());
      }
    for (int null_line = -1; null_line < 5; ++null_line) {
      decode('3', 0, base.c_str(), null_line);
      decode('7', 0, base.c_str(), null_line);
    }
  }
}

}  // namespace

int main() {
  // The records go to the original standard output; the library's writes to
  // stdout land in memory, seen only once it flushes them.
  out = fdopen(dup(STDOUT_FILENO), "wb");
  if (out == nullptr) return 1;
  static char out_buffer[1 << 20];
  std::setvbuf(out, out_buffer, _IOFBF, sizeof out_buffer);
  stdout = open_memstream(&captured, &captured_size);
  if (stdout == nullptr) return 1;

  // One VIN that each model line's checks accept, and others that reach the
  // dispatch's other branches.
  const std::vector<std::string> bases13 = {
      "A0A857H123442",
      "A5A855H100001",
      "A1A795H100001",
      "A9A397X100001",
      "A6A637A100001",
      "A2A430A100001",
      "A9A439A100001",
      "A9A160H100001",
      "A4A198H100001",
      "A1A050H100001",
      "A9A057C100001",
      "A0A365C100001",
      "A9A050A100001",
      "a1f031b300011",
      "A8A855H100001",
      "A8A198H100001",
      "A0A050H100001",
  };
  vary('3', bases13);
  // The dispatch: positions 2, 4 and 5 together with every model year.
  for (const std::string base : {"A0A857H123442", "A1F031B300011"})
    for (char two : alphabet)
      for (char four : alphabet)
        for (char five : alphabet)
          for (int y : years) {
            std::string vin = base;
            vin[1] = two;
            vin[3] = four;
            vin[4] = five;
            decode('3', y, vin.c_str());
          }

  const std::vector<std::string> bases17 = {
      "1AMCM3877BK100021",
      "2CCBA0557CB123456",
      "1AMCK4305JK000001",
      "1amcw5367hb987654",
  };
  vary('7', bases17);
  decode('3', 0, nullptr);
  decode('7', 0, nullptr);

  std::fflush(out);
  std::fprintf(stderr,
               "%ld calls, %ld message boxes, %zu bytes on standard output\n",
               calls,
               boxes_shown,
               captured_size);
  return 0;
}
