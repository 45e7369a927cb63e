// The message box the decoding library calls: a real modal box with no owner.
#include "dialogs.h"

extern "C" __attribute__((visibility("default"))) int MessageBoxA(void * /*owner*/,
                                                                  const char *text,
                                                                  const char *caption,
                                                                  unsigned /*type*/) {
  kordel::ui::MessageBoxes::show(
      nullptr, QString::fromLatin1(caption ? caption : ""), QString::fromLatin1(text ? text : ""));
  return 1;  // OK
}
