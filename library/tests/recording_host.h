// A host for the built library: it loads libkordel.so, records the message boxes
// the library shows and captures what it writes to standard output.
#pragma once

#include <dlfcn.h>

#include <string>
#include <vector>

struct RecordedBox {
  const void *owner;
  std::string text, caption;
  unsigned type;
};

inline std::vector<RecordedBox> recorded_boxes;

extern "C" __attribute__((visibility("default"))) int MessageBoxA(void *owner, const char *text,
                                                                  const char *caption,
                                                                  unsigned type) {
  recorded_boxes.push_back({owner, text, caption, type});
  return 1;  // IDOK
}

using EntryPoint = int (*)(int, const char *, char *, char *, char *, char *, char *);

struct Library {
  void *handle = dlopen(KORDEL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  EntryPoint process_13 =
      handle ? reinterpret_cast<EntryPoint>(dlsym(handle, "process_13")) : nullptr;
  EntryPoint process_17 =
      handle ? reinterpret_cast<EntryPoint>(dlsym(handle, "process_17")) : nullptr;
};

inline Library &library() {
  static Library lib;
  return lib;
}
