// The page's entries into the decoding core: the JSON object that
// `kordel-decode --format json` writes for one VIN, from the same code, and the
// check-digit warning it prints beside it.
#include <string>

#include "json_record.h"
#include "vin_decode.h"

namespace {
// The page copies a text out before its next call, so one buffer suffices.
std::string returned;
}  // namespace

// year: 0 decodes every candidate year; 68-80 or 1968-1980 picks one.
extern "C" const char *kordel_decode_json(const char *vin, int year) {
  returned = kordel::record::json_record(vin ? vin : "", year);
  return returned.c_str();
}

// Empty when the VIN is not of 17 characters or its check digit computes.
extern "C" const char *kordel_check_digit_warning(const char *vin) {
  static kordel::record::VinDecode decode;
  decode.decode(kordel::record::trim_vin(vin ? vin : ""), 0);
  returned = decode.check_digit_warning();
  return returned.c_str();
}
