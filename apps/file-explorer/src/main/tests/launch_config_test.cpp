#include "main/launch_config.h"

#include <gtest/gtest.h>

namespace files {
namespace {

TEST(Actor, RulesFallThroughOnEmptyAndInvalidValues) {
  struct Case {
    const char* name;
    const char* drell;
    const char* user;
    std::string expected;
  };
  const std::string hex = "0123456789abcdef0123456789abcdef";
  const Case cases[] = {
      {"DRELL_APP_ID wins unchanged", "org.example.runner", "ada", "org.example.runner"},
      {"DRELL_APP_ID empty falls through", "", "ada", "files-ada"},
      {"DRELL_APP_ID unset", nullptr, "ada", "files-ada"},
      {"invalid UTF-8 falls through", "\xff\xfe", "ada", "files-ada"},
      {"both empty: twelve hex characters", "", "", "files-0123456789ab"},
      {"both unset", nullptr, nullptr, "files-0123456789ab"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(choose_actor(c.drell, c.user, hex), c.expected) << c.name;
  }
}

TEST(LaunchConfig, DeclaresTheProgramsOptionsAndScenarios) {
  const auto& config = launch_config();
  EXPECT_EQ(config.application_id, "so.vask.file-explorer");
  EXPECT_EQ(config.value_options, (std::vector<std::string>{"--size", "--path"}));
  EXPECT_EQ(config.switches, (std::vector<std::string>{"--open-share-stdin"}));
  ASSERT_EQ(config.scenarios.size(), 20u);
  EXPECT_EQ(config.scenarios.front(), "archive");
  EXPECT_EQ(config.scenarios.back(), "undo-trash");
  EXPECT_TRUE(std::is_sorted(config.scenarios.begin(), config.scenarios.end()));
  auto size = config.default_size();
  EXPECT_EQ(size.width, 1280);
  EXPECT_EQ(size.height, 800);
  ASSERT_EQ(config.history_mode.sources.size(), 1u);
  EXPECT_EQ(config.history_mode.sources[0].id, "selected-file");
  EXPECT_EQ(config.history_mode.sources[0].label, "Selected file");
}

vask_ui::LaunchArgs parse(std::vector<std::string> args) {
  const auto& c = launch_config();
  auto parsed = vask_ui::LaunchArgs::parse(args, c.value_options, c.switches, c.scenarios);
  EXPECT_TRUE(parsed.has_value()) << (parsed ? "" : parsed.error().message);
  return parsed.value_or(vask_ui::LaunchArgs{});
}

TEST(LaunchConfig, PositionalFolderIsMadeAbsolute) {
  auto none = positional_folder(parse({}));
  ASSERT_TRUE(none.has_value());
  EXPECT_FALSE(none->has_value());

  auto relative = positional_folder(parse({"docs", "ignored"}));
  ASSERT_TRUE(relative.has_value());
  EXPECT_EQ(**relative, std::filesystem::current_path() / "docs");

  auto empty = positional_folder(parse({""}));
  ASSERT_FALSE(empty.has_value());
  EXPECT_EQ(empty.error(), "cannot make an empty path absolute");
}

}  // namespace
}  // namespace files
