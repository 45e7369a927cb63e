// The page's one entry into the decoding core: the JSON object that
// `kordel-decode --format json` writes for one VIN, from the same code.
#include <string>

#include "json_record.h"

namespace {
// The page copies the text out before the next call, so one buffer suffices.
std::string last_record;
}  // namespace

// year: 0 decodes every candidate year; 68-80 or 1968-1980 picks one.
extern "C" const char *kordel_decode_json(const char *vin, int year) {
  last_record = kordel::cli::json_record(vin ? vin : "", year);
  return last_record.c_str();
}
