// The one place the window meets the record library's types: it turns a decode
// of the record library into the window's RecordHints.
#pragma once

#include <QString>

#include "record_hints.h"

namespace kordel::ui {

class RecordAdapter {
 public:
  static RecordHints hints_for(const QString &vin, int model_year, bool reported);
};

}  // namespace kordel::ui
