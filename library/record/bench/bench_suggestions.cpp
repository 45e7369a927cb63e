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
// Unreadable characters: every character tried at each, twice over for two; a
// 13-character VIN whose model year is open decodes each for up to six years.
BENCHMARK_CAPTURE(suggest, unreadable_13, "A0A?57H123442")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, two_unreadable_13, "A0A0??A100001")->Unit(benchmark::kMicrosecond);
// Two at positions that choose the decoder and the model year: every pair decoded.
BENCHMARK_CAPTURE(suggest, two_unreadable_dispatch_13, "A?A?55H100001")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, two_unreadable_17, "1AMCM3??5BK100021")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, unknown_digit_13, "A1F031B00?001")->Unit(benchmark::kMicrosecond);
// Nothing one edit away decodes: two look-alikes tried at every pair of positions.
BENCHMARK_CAPTURE(suggest, none_two_look_alikes_13, "A0A0OOO1OOOO1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, none_two_look_alikes_17, "1AMCS0O8OBK1OO021")
    ->Unit(benchmark::kMicrosecond);
