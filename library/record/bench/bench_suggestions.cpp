// Microseconds to decode one typed VIN and find its suggestions, from the common
// slips to the VINs that make the search try every edit.
#include <benchmark/benchmark.h>

#include "suggestions.h"

namespace {

void suggest(benchmark::State &state, const char *vin) {
  kordel::record::VinDecode decode;
  std::size_t found = 0;
  for (auto _ : state) {
    decode.decode(vin, 0);
    const auto suggestions = kordel::record::suggestions_for(decode);
    found = suggestions.size();
    benchmark::DoNotOptimize(suggestions.data());
  }
  state.counters["suggestions"] = static_cast<double>(found);
}

}  // namespace

// A look-alike, a swap, a check digit that does not compute.
BENCHMARK_CAPTURE(suggest, look_alike_13, "A8AB55H100001")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, swap_13, "A8A585H100001")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, check_digit_17, "1AMCM3877BK100021")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, swap_17, "1AMMC3875BK100021")->Unit(benchmark::kMicrosecond);
// One character too many or too few.
BENCHMARK_CAPTURE(suggest, removal_14, "A8A8555H100001")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, removal_18, "1AMCM38775BK100021")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, insertion_12, "A8A855H10001")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, insertion_16, "1AMCM387BK100021")->Unit(benchmark::kMicrosecond);
// Nothing one edit away decodes, so every edit is tried. Position 4 "0" and
// position 2 "0" leave the model year open, so each edit is decoded for up to six
// years.
BENCHMARK_CAPTURE(suggest, none_12, "A0AZZZZ10000")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, none_13, "A0AZZZZ100001")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, none_14, "A0AZZZZ1000001")->Unit(benchmark::kMicrosecond);
// The slowest of 3000 slips per length, made at random in valid VINs.
BENCHMARK_CAPTURE(suggest, slowest_12, "0A807H123442")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, slowest_13, "A0A050UN00001")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, slowest_14, "A0A030P1008001")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, slowest_16, "1ACM3R77BK160020")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, slowest_17, "1AMCA0507BK123456")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, slowest_18, "1AMCA3877BK1005021")->Unit(benchmark::kMicrosecond);
