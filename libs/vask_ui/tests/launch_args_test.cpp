#include <gtest/gtest.h>

#include "vask_ui/launch.h"

namespace vask_ui {
namespace {

const std::vector<std::string> kValues = {"--size", "--path"};
const std::vector<std::string> kSwitches = {"--open-share-stdin"};
const std::vector<std::string> kScenarios = {"grid", "status"};

TEST(LaunchArgs, ParsesOptionsSwitchesAndPositionals) {
  auto args = LaunchArgs::parse({"--path", "/tmp", "folder", "--open-share-stdin", "--size=700x800",
                                 "--screenshot", "grid", "--out", "shot.png", "--", "--literal"},
                                kValues, kSwitches, kScenarios);
  ASSERT_TRUE(args.has_value()) << args.error().message;
  EXPECT_EQ(args->value("--path"), "/tmp");
  EXPECT_EQ(args->value("--size"), "700x800");
  EXPECT_FALSE(args->value("--nothing").has_value());
  EXPECT_TRUE(args->has_switch("--open-share-stdin"));
  EXPECT_EQ(args->positionals(), (std::vector<std::string>{"folder", "--literal"}));
  EXPECT_EQ(args->scenario(), "grid");
  ASSERT_TRUE(args->size().has_value());
  EXPECT_EQ(*args->size(), (Size{700, 800}));
  EXPECT_EQ(args->output(), std::filesystem::path("shot.png"));
}

TEST(LaunchArgs, RejectsWhatItDoesNotKnow) {
  struct Case {
    std::vector<std::string> args;
    const char* error;
  };
  const Case cases[] = {
      {{"--bogus"}, "unknown option --bogus"},
      {{"--path"}, "option --path needs a value"},
      {{"--screenshot", "nope", "--out", "x.png"}, "unknown screenshot scenario \"nope\""},
      {{"--screenshot", "grid"}, "--screenshot needs --out PATH"},
      {{"--size", "0x10"}, "invalid size \"0x10\" (expected WIDTHxHEIGHT)"},
      {{"--size", "12x"}, "invalid size \"12x\" (expected WIDTHxHEIGHT)"},
      {{"--open-share-stdin=1"}, "unknown option --open-share-stdin"},
  };
  for (const auto& c : cases) {
    auto args = LaunchArgs::parse(c.args, kValues, kSwitches, kScenarios);
    ASSERT_FALSE(args.has_value()) << c.error;
    EXPECT_EQ(args.error().message, c.error);
  }
}

TEST(LaunchArgs, SinglePositionalDashIsAPath) {
  auto args = LaunchArgs::parse({"-"}, kValues, kSwitches, kScenarios);
  ASSERT_TRUE(args.has_value());
  EXPECT_EQ(args->positionals(), (std::vector<std::string>{"-"}));
}

}  // namespace
}  // namespace vask_ui
