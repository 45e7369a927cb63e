// Nanoseconds per call of the two entry points of the shared library.
#include <benchmark/benchmark.h>

#include <array>

#include "kordel.h"

// A host whose message box returns at once.
extern "C" __attribute__((visibility("default"))) int MessageBoxA(void *, const char *,
                                                                  const char *, unsigned) {
  return 1;
}

namespace {

struct Lines {
  std::array<std::array<char, 1001>, 5> b{};
};

void decode_17(benchmark::State &state, const char *vin) {
  Lines l;
  for (auto _ : state) {
    benchmark::DoNotOptimize(process_17(
        0, vin, l.b[0].data(), l.b[1].data(), l.b[2].data(), l.b[3].data(), l.b[4].data()));
    benchmark::ClobberMemory();
  }
}

void decode_13(benchmark::State &state, int model_year, const char *vin) {
  Lines l;
  for (auto _ : state) {
    benchmark::DoNotOptimize(process_13(model_year,
                                        vin,
                                        l.b[0].data(),
                                        l.b[1].data(),
                                        l.b[2].data(),
                                        l.b[3].data(),
                                        l.b[4].data()));
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK_CAPTURE(decode_17, valid, "1AMCM3877BK100021");
BENCHMARK_CAPTURE(decode_17, rejected_at_year, "1AMCA0507IK123456");

BENCHMARK_CAPTURE(decode_13, ambassador, 0, "A0A857H123442");
BENCHMARK_CAPTURE(decode_13, matador, 0, "A5A855H100001");
BENCHMARK_CAPTURE(decode_13, javelin, 0, "A3F797ZK00021");
BENCHMARK_CAPTURE(decode_13, amx, 0, "A9A397X100001");
BENCHMARK_CAPTURE(decode_13, pacer, 0, "A6A637A100001");
BENCHMARK_CAPTURE(decode_13, gremlin, 0, "A2A430A100001");
BENCHMARK_CAPTURE(decode_13, spirit, 79, "A9A439A100001");
BENCHMARK_CAPTURE(decode_13, rebel, 0, "A9A160H100001");
BENCHMARK_CAPTURE(decode_13, matador_2dr, 0, "A4A198H100001");
BENCHMARK_CAPTURE(decode_13, hornet, 0, "A1A050H100001");
BENCHMARK_CAPTURE(decode_13, concord, 79, "A9A057C100001");
BENCHMARK_CAPTURE(decode_13, eagle, 0, "A0A365C100001");
BENCHMARK_CAPTURE(decode_13, rambler, 69, "A9A050A100001");
BENCHMARK_CAPTURE(decode_13, rejected_at_engine, 0, "A1A050Z100001");
BENCHMARK_CAPTURE(decode_13, no_decoder, 74, "A8A857H100001");

BENCHMARK_MAIN();
