#include "favorites/favorites.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "favorites/folder_path.h"
#include "favorites/tests/scratch_folder.h"

namespace files::favorites {
namespace {

using vask_ui::sysdirs::UserDirs;

std::string read_text(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

/// A home folder with Documents and Music configured the way xdg-user-dirs writes them.
class FavouritesTest : public ::testing::Test {
 protected:
  FavouritesTest() {
    home_ = tmp_.folder("home");
    auto file = tmp_.file("user-dirs.dirs",
                          "# written by xdg-user-dirs-update\n"
                          "XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n"
                          "XDG_MUSIC_DIR=\"$HOME/Music\"\n"
                          "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n");
    dirs_ = UserDirs::from_file(file, home_);
    config_ = tmp_.path() / "config" / "vask-files";
  }

  std::vector<std::filesystem::path> paths(const Favourites& list) const {
    std::vector<std::filesystem::path> out;
    for (const auto& f : list)
      out.push_back(f.path);
    return out;
  }

  chrome_testing::ScratchFolder tmp_;
  std::filesystem::path home_;
  std::filesystem::path config_;
  UserDirs dirs_;
};

TEST(FolderPath, ComparesComponentWise) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
    bool a_contains_b;
  };
  for (const Case& c : {
           Case{"/a/b", "/a/b/", true, true},
           Case{"/a/./b", "/a/b", true, true},
           Case{"/a", "/a/b", false, true},
           Case{"/a/b", "/a", false, false},
           Case{"/a/b", "/a/bc", false, false},
           Case{"/", "/x/y", false, true},
           Case{"/", "/", true, true},
           Case{"/a/../b", "/b", false, false},
       }) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(same_folder(c.a, c.b), c.same);
    EXPECT_EQ(folder_contains(c.a, c.b), c.a_contains_b);
  }
  EXPECT_EQ(plain_folder("/a/b//"), std::filesystem::path("/a/b"));
  EXPECT_EQ(plain_folder("/"), std::filesystem::path("/"));
  EXPECT_EQ(last_component("/"), std::nullopt);
  EXPECT_EQ(last_component("/a/b/"), "b");
}

TEST_F(FavouritesTest, LabelsHomeWellKnownAndOtherFolders) {
  Favourite home = label_favourite(home_.string() + "/", home_, dirs_);
  EXPECT_EQ(home.label, "Home");
  EXPECT_TRUE(home.localized);
  EXPECT_EQ(home.kind, FavouriteKind::Home);
  EXPECT_EQ(home.path, home_);

  Favourite music = label_favourite(home_ / "Music", home_, dirs_);
  EXPECT_EQ(music.label, "Music");
  EXPECT_FALSE(music.localized);
  EXPECT_EQ(music.kind, FavouriteKind::Music);

  // The desktop is well known but has no icon of its own.
  EXPECT_EQ(label_favourite(home_ / "Desktop", home_, dirs_).kind, FavouriteKind::Other);

  Favourite projects = label_favourite("/srv/projects/", home_, dirs_);
  EXPECT_EQ(projects.label, "projects");
  EXPECT_EQ(projects.kind, FavouriteKind::Other);
  EXPECT_EQ(projects.path, std::filesystem::path("/srv/projects"));

  EXPECT_EQ(label_favourite("/", home_, dirs_).label, "/");
  // Without a known home nothing is called "Home".
  EXPECT_EQ(label_favourite(home_, std::nullopt, dirs_).label, "home");
}

TEST_F(FavouritesTest, DefaultsAreHomeThenTheContentFolders) {
  Favourites defaults = default_favourites(home_, dirs_);
  ASSERT_EQ(defaults.size(), 3u);
  EXPECT_EQ(defaults[0].label, "Home");
  EXPECT_EQ(defaults[1].label, "Documents");
  EXPECT_EQ(defaults[1].kind, FavouriteKind::Documents);
  EXPECT_EQ(defaults[2].path, home_ / "Music");
  EXPECT_EQ(default_favourites(std::nullopt, UserDirs{}).size(), 0u);
}

TEST_F(FavouritesTest, ParsesTheFileText) {
  struct Case {
    const char* name;
    std::string text;
    std::optional<std::vector<std::filesystem::path>> expected;
  };
  const Case cases[] = {
      {"empty", "", std::nullopt},
      {"only blank lines", "\n  \n\t\n\r\n", std::nullopt},
      {"one path", "/srv/a", std::vector<std::filesystem::path>{"/srv/a"}},
      {"trimmed and blank lines skipped", "  /srv/a \t\n\n/srv/b\r\n",
       std::vector<std::filesystem::path>{"/srv/a", "/srv/b"}},
      {"duplicates all kept", "/srv/a\n/srv/a\n/srv/a/",
       std::vector<std::filesystem::path>{"/srv/a", "/srv/a", "/srv/a"}},
      {"missing folders kept", "/does/not/exist",
       std::vector<std::filesystem::path>{"/does/not/exist"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto parsed = parse_favourites(c.text, home_, dirs_);
    ASSERT_EQ(parsed.has_value(), c.expected.has_value());
    if (parsed) {
      EXPECT_EQ(paths(*parsed), *c.expected);
    }
  }
}

TEST_F(FavouritesTest, MissingOrBlankFileGivesTheDefaultsWithoutRewritingIt) {
  auto defaults = default_favourites(home_, dirs_);
  EXPECT_EQ(load_favourites(config_, home_, dirs_), defaults);
  EXPECT_EQ(load_favourites(std::nullopt, home_, dirs_), defaults);

  std::filesystem::create_directories(config_);
  std::ofstream(config_ / "favorites") << "\n   \n";
  EXPECT_EQ(load_favourites(config_, home_, dirs_), defaults);
  EXPECT_EQ(read_text(config_ / "favorites"), "\n   \n");
}

TEST_F(FavouritesTest, SaveCreatesTheFolderAndLoadReadsTheSameList) {
  Favourites list = default_favourites(home_, dirs_);
  ASSERT_TRUE(add_favourite(list, "/srv/shared", home_, dirs_));
  ASSERT_TRUE(save_favourites(config_, list).has_value());
  EXPECT_EQ(read_text(config_ / "favorites"), home_.string() + "\n" + home_.string() +
                                                  "/Documents\n" + home_.string() +
                                                  "/Music\n/srv/shared");
  Favourites loaded = load_favourites(config_, home_, dirs_);
  EXPECT_EQ(paths(loaded), paths(list));
  // Labels are recomputed on load: a content folder is then named after itself.
  EXPECT_EQ(loaded[0].label, "Home");
  EXPECT_EQ(loaded[3].label, "shared");
  // No staging file is left behind.
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(config_))
    ++files;
  EXPECT_EQ(files, 1u);
}

TEST_F(FavouritesTest, SaveFailureLeavesTheListAlone) {
  // A file where the configuration folder should be: nothing can be created below it.
  auto blocker = tmp_.file("blocker");
  Favourites list = default_favourites(home_, dirs_);
  Favourites before = list;
  EXPECT_FALSE(save_favourites(blocker / "vask-files", list).has_value());
  EXPECT_EQ(list, before);
}

TEST_F(FavouritesTest, AddIgnoresTheSameFolderWrittenDifferently) {
  Favourites list = default_favourites(home_, dirs_);
  const std::size_t n = list.size();
  EXPECT_FALSE(add_favourite(list, home_.string() + "/Documents/", home_, dirs_));
  EXPECT_FALSE(add_favourite(list, home_, home_, dirs_));
  EXPECT_EQ(list.size(), n);

  EXPECT_TRUE(add_favourite(list, "/srv/new/", home_, dirs_));
  ASSERT_EQ(list.size(), n + 1);
  EXPECT_EQ(list.back().path, std::filesystem::path("/srv/new"));
  EXPECT_EQ(list.back().label, "new");
  EXPECT_FALSE(add_favourite(list, "/srv/new", home_, dirs_));

  // One favourite per line: a name with a line break cannot be stored.
  EXPECT_FALSE(add_favourite(list, "/srv/two\nlines", home_, dirs_));
  EXPECT_EQ(list.size(), n + 1);
}

TEST_F(FavouritesTest, RemoveTakesOutEveryEntryOfTheFolder) {
  auto list = *parse_favourites("/srv/a\n/srv/b\n/srv/a/\n/srv/c", home_, dirs_);
  EXPECT_TRUE(remove_favourite(list, "/srv/a"));
  EXPECT_EQ(paths(list), (std::vector<std::filesystem::path>{"/srv/b", "/srv/c"}));
  EXPECT_FALSE(remove_favourite(list, "/srv/a"));
}

TEST_F(FavouritesTest, MoveShiftsTheItemsInBetween) {
  auto list = *parse_favourites("/a\n/b\n/c\n/d", home_, dirs_);
  EXPECT_TRUE(move_favourite(list, 0, 3));
  EXPECT_EQ(paths(list), (std::vector<std::filesystem::path>{"/b", "/c", "/d", "/a"}));
  EXPECT_TRUE(move_favourite(list, 3, 1));
  EXPECT_EQ(paths(list), (std::vector<std::filesystem::path>{"/b", "/a", "/c", "/d"}));
  for (auto [from, to] : {std::pair<std::size_t, std::size_t>{2, 2}, {4, 0}, {0, 4}}) {
    EXPECT_FALSE(move_favourite(list, from, to));
  }
  EXPECT_EQ(paths(list), (std::vector<std::filesystem::path>{"/b", "/a", "/c", "/d"}));
}

}  // namespace
}  // namespace files::favorites
