#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "scoped_env.h"
#include "vask_ui/persist.h"
#include "vask_ui/sysdirs.h"

namespace vask_ui {
namespace {

using files::testing::ScopedEnv;

class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/vask-ui-test-XXXXXX";
    path_ = mkdtemp(tmpl);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

TEST(UserDirs, ReadsTheUserDirsFile) {
  TempDir dir;
  auto file = dir.path() / "user-dirs.dirs";
  std::ofstream(file) << "# written by xdg-user-dirs-update\n"
                         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
                         "XDG_DOWNLOAD_DIR=\"/data/downloads\"\n"
                         "XDG_DESKTOP_DIR=\"$HOME/\"\n"
                         "XDG_MUSIC_DIR=\"$HOME\"\n"
                         "XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"\n"
                         "XDG_VIDEOS_DIR=unquoted\n"
                         "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n";
  auto dirs = sysdirs::UserDirs::from_file(file, "/home/ada");
  EXPECT_EQ(dirs.get(sysdirs::UserDirKind::Documents), std::filesystem::path("/home/ada/Docs"));
  EXPECT_EQ(dirs.get(sysdirs::UserDirKind::Downloads), std::filesystem::path("/data/downloads"));
  EXPECT_EQ(dirs.get(sysdirs::UserDirKind::Pictures),
            std::filesystem::path("/home/ada/My \"Pics\""));
  EXPECT_FALSE(dirs.get(sysdirs::UserDirKind::Videos).has_value());
  EXPECT_EQ(dirs.classify("/data/downloads/"), sysdirs::UserDirKind::Downloads);
  // A folder set to the home itself is switched off, never a place.
  EXPECT_FALSE(dirs.classify("/home/ada").has_value());
  auto places = dirs.content_places();
  ASSERT_EQ(places.size(), 3u);
  EXPECT_EQ(places[0].first, sysdirs::UserDirKind::Documents);
  EXPECT_EQ(places[1].first, sysdirs::UserDirKind::Downloads);
  EXPECT_EQ(places[2].first, sysdirs::UserDirKind::Pictures);
}

TEST(UserDirs, HomeOverrideMustBeAbsolute) {
  {
    ScopedEnv home("VASK_USER_HOME", "/srv/home");
    EXPECT_EQ(sysdirs::user_home_override(), std::filesystem::path("/srv/home"));
  }
  {
    ScopedEnv home("VASK_USER_HOME", "relative");
    EXPECT_FALSE(sysdirs::user_home_override().has_value());
  }
}

TEST(StateDocument, CreatesAnActorOnceAndKeepsIt) {
  TempDir dir;
  auto path = dir.path() / "state" / "state.json";
  auto first = open_state_document(path);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->actor().size(), 16u);
  EXPECT_EQ(first->actor_hex().size(), 32u);
  auto second = open_state_document(path);
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->actor(), first->actor());

  second->set_actor({'f', 'i', 'l', 'e', 's'});
  ASSERT_TRUE(second->save().has_value());
  EXPECT_EQ(open_state_document(path)->actor_hex(), "66696c6573");
}

TEST(StateDocument, ACorruptDocumentGetsAFreshActor) {
  TempDir dir;
  auto path = dir.path() / "state.json";
  std::ofstream(path) << "{not json";
  auto doc = open_state_document(path);
  ASSERT_TRUE(doc.has_value());
  EXPECT_EQ(doc->actor().size(), 16u);
}

}  // namespace
}  // namespace vask_ui
