// Feeds arbitrary bytes, lengths and model years to both entry points and checks
// that the library writes only whole, terminated lines into the caller's buffers.
//
// Input: four bytes of model_year, one byte choosing the entry point, then the VIN.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "kordel.h"

namespace {
int boxes_shown = 0;

void require(bool condition) {
  if (!condition) __builtin_trap();
}
}  // namespace

extern "C" int MessageBoxA(void *owner, const char *text, const char *caption, unsigned type) {
  require(owner == nullptr && type == 0 && text != nullptr && caption != nullptr);
  require(std::strcmp(caption, "Error") == 0 || std::strcmp(caption, "ERROR") == 0);
  ++boxes_shown;
  return 1;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  // The standard-output failures would drown the fuzzer's own output.
  require(std::freopen("/dev/null", "w", stdout) != nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 5) return 0;
  int model_year;
  std::memcpy(&model_year, data, sizeof model_year);
  const bool long_vin = (data[4] & 1) != 0;

  // The VIN in a heap block of exactly its size, so any read past it is caught.
  const std::size_t vin_size = size - 5;
  auto vin = std::make_unique<char[]>(vin_size + 1);
  std::memcpy(vin.get(), data + 5, vin_size);
  vin[vin_size] = '\0';
  auto vin_copy = std::make_unique<char[]>(vin_size + 1);
  std::memcpy(vin_copy.get(), vin.get(), vin_size + 1);

  // Buffers of exactly the documented capacity, filled with a pattern.
  std::unique_ptr<char[]> lines[5];
  for (auto &line : lines) {
    line = std::make_unique<char[]>(KORDEL_LINE_CAPACITY);
    std::memset(line.get(), 0x5a, KORDEL_LINE_CAPACITY);
  }

  boxes_shown = 0;
  const int result = long_vin ? process_17(model_year,
                                           vin.get(),
                                           lines[0].get(),
                                           lines[1].get(),
                                           lines[2].get(),
                                           lines[3].get(),
                                           lines[4].get())
                              : process_13(model_year,
                                           vin.get(),
                                           lines[0].get(),
                                           lines[1].get(),
                                           lines[2].get(),
                                           lines[3].get(),
                                           lines[4].get());
  require(result == 0 || result == 1);
  require(boxes_shown <= 2);
  require(std::memcmp(vin.get(), vin_copy.get(), vin_size + 1) == 0);

  const bool reported = static_cast<unsigned char>(lines[0][0]) != 0x5a;
  const int written = reported ? (long_vin ? 5 : 4) : 0;
  for (int i = 0; i < 5; ++i) {
    if (i < written) {
      require(std::memchr(lines[i].get(), '\0', KORDEL_LINE_CAPACITY) != nullptr);
    } else {
      for (std::size_t b = 0; b < KORDEL_LINE_CAPACITY; ++b)
        require(static_cast<unsigned char>(lines[i][b]) == 0x5a);
    }
  }
  return 0;
}
