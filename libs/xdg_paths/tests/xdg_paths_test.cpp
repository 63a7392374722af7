#include "xdg_paths/xdg_paths.h"

#include <gtest/gtest.h>

#include "scoped_env.h"

namespace {

using files::testing::ScopedEnv;

TEST(XdgPaths, AbsoluteOverrideWinsRelativeIsIgnored) {
  ScopedEnv home("HOME", "/home/ada");
  {
    ScopedEnv config("XDG_CONFIG_HOME", "/etc/ada-config");
    EXPECT_EQ(xdg_paths::config_dir(), std::filesystem::path("/etc/ada-config"));
  }
  {
    ScopedEnv config("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(xdg_paths::config_dir(), std::filesystem::path("/home/ada/.config"));
  }
  ScopedEnv data("XDG_DATA_HOME", nullptr);
  EXPECT_EQ(xdg_paths::data_dir(), std::filesystem::path("/home/ada/.local/share"));
}

TEST(XdgPaths, AppDirsAreNamedAfterTheApplication) {
  ScopedEnv home("HOME", "/home/ada");
  ScopedEnv config("XDG_CONFIG_HOME", nullptr);
  ScopedEnv cache("XDG_CACHE_HOME", "/var/cache/ada");
  auto dirs = xdg_paths::AppDirs::for_app("vask-files");
  ASSERT_TRUE(dirs.has_value());
  EXPECT_EQ(dirs->config(), std::filesystem::path("/home/ada/.config/vask-files"));
  EXPECT_EQ(dirs->cache(), std::filesystem::path("/var/cache/ada/vask-files"));
}

}  // namespace
