// Runs every seed of a fuzz target's corpus through its entry point, so an ordinary build
// (no clang, no libFuzzer) still exercises the inputs the fuzzers start from.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

TEST(CorpusReplayTest, EverySeedRunsCleanly) {
  std::size_t seeds = 0;
  for (const auto& item : std::filesystem::directory_iterator(FILES_FUZZ_CORPUS_DIR)) {
    if (!item.is_regular_file()) continue;
    std::ifstream in(item.path(), std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    EXPECT_EQ(
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
        0)
        << item.path();
    ++seeds;
  }
  EXPECT_GT(seeds, 0u) << "no seeds in " << FILES_FUZZ_CORPUS_DIR;
}
