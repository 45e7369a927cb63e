// Feeds arbitrary bytes through kordel-decode's line and CSV input and all three
// output formats, and checks that every JSON record is well-formed JSON.
//
// Input: one byte choosing lines or CSV, the format and the model year, then the data.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <nlohmann/json.hpp>

#include "input.h"
#include "output.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

int null_fd() {
  static const int fd = open("/dev/null", O_WRONLY);
  return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using namespace kordel::cli;
  using namespace kordel::record;
  if (size < 1) return 0;
  const std::uint8_t choice = data[0];
  const bool csv = (choice & 1) != 0;
  const Format format = static_cast<Format>((choice >> 1) % 3);
  const int model_year = (choice >> 3) == 0 ? 0 : 68 + (choice >> 3) % 13;
  const std::string_view input(reinterpret_cast<const char *>(data + 1), size - 1);

  Sink out(null_fd()), messages(null_fd());
  Output output(format, out, messages);
  VinDecode decode;
  const auto check_json = [&](const CsvRow *row) {
    std::string record;
    append_json_record(record, decode, row);
    require(nlohmann::json::accept(record));
    require(record.find('\n') == std::string::npos);
  };
  if (csv) {
    CsvDialect dialect;
    read_csv(input, "VIN", {}, dialect, [&](const CsvRow &row, std::string_view vin) {
      decode.decode(trim_vin(vin), model_year);
      check_json(&row);
      output.write(decode, &row);
      return true;
    });
  } else {
    read_lines(input, [&](std::string_view line, bool too_long) {
      require(line.size() <= max_line_bytes);
      if (too_long)
        decode.refuse(line.substr(0, 32), "too long");
      else
        decode.decode(trim_vin(line), model_year);
      check_json(nullptr);
      output.write(decode);
      return true;
    });
  }
  out.flush(true);
  messages.flush(true);
  return 0;
}
