#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

// Every test binary runs with a UTF-8 C library locale (libarchive and lossy names depend on
// it) and renders headless, whatever the developer's desktop provides.
int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C.UTF-8");
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
