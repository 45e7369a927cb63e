// The text of decoded VINs, as `kordel-decode` writes it by default: each VIN's
// reports for standard output, its errors, messages, warnings and suggestions for
// standard error, one line each.
#pragma once

#include <string>

#include "record.h"
#include "vin_decode.h"

namespace kordel::record {

// Appends the text of one VIN: its reports to `out` (a "Model year N:" heading
// before each when its model year was left open, a blank line between two), and
// its error or messages and warnings to `messages`, each line naming the VIN;
// options.suggest adds "did you mean" lines. `after_report`: a report of an
// earlier VIN stands in `out`, so that a blank line goes before this one's.
// Returns whether a report now stands in `out` (the next call's `after_report`).
bool append_text_record(std::string &out, std::string &messages, const VinDecode &decode,
                        const RecordOptions &options = {}, bool after_report = false);

}  // namespace kordel::record
