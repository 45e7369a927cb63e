// Without a host MessageBoxA the library writes its messages to standard error.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>

#include "kordel.h"

namespace {

using EntryPoint = int (*)(int, const char *, char *, char *, char *, char *, char *);

TEST(NoHost, MessagesGoToStandardError) {
  void *handle = dlopen(KORDEL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  auto process_17 = reinterpret_cast<EntryPoint>(dlsym(handle, "process_17"));
  ASSERT_NE(process_17, nullptr);
  std::array<std::array<char, KORDEL_LINE_CAPACITY>, 5> b{};
  testing::internal::CaptureStderr();
  process_17(
      0, "3AMCA0507BK123456", b[0].data(), b[1].data(), b[2].data(), b[3].data(), b[4].data());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Error: The 1st digit of the vin was invalid.\n");
}

}  // namespace
