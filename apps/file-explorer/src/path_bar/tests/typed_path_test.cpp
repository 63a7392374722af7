#include "path_bar/typed_path.h"

#include <gtest/gtest.h>

#include "favorites/tests/scratch_folder.h"

namespace files::path_bar {
namespace {

TEST(DisplayForm, UsesTildeInsideHome) {
  struct Case {
    std::filesystem::path folder;
    std::optional<std::filesystem::path> home;
    std::string shown;
  };
  for (const Case& c : {Case{"/home/u", "/home/u", "~"}, Case{"/home/u/", "/home/u", "~"},
                        Case{"/home/u/Documents/tax", "/home/u/", "~/Documents/tax"},
                        Case{"/home/user2", "/home/u", "/home/user2"},
                        Case{"/home/u/a", std::nullopt, "/home/u/a"}, Case{"/", "/home/u", "/"}}) {
    SCOPED_TRACE(c.folder.string());
    EXPECT_EQ(display_form(c.folder, c.home), c.shown);
  }
}

TEST(ResolveTypedText, ExpandsHomeAndJoinsOntoTheBase) {
  const std::filesystem::path home = "/home/u";
  const std::filesystem::path base = "/home/u/Music";
  struct Case {
    const char* text;
    std::optional<std::filesystem::path> home;
    std::filesystem::path resolved;
    std::filesystem::path submitted;
  };
  for (const Case& c : {
           Case{"~", home, "/home/u", "/home/u"},
           Case{"~/", home, "/home/u/", "/home/u"},
           Case{"~/Documents", home, "/home/u/Documents", "/home/u/Documents"},
           Case{"~//Documents/", home, "/home/u/Documents/", "/home/u/Documents"},
           Case{"Documents", home, "/home/u/Music/Documents", "/home/u/Music/Documents"},
           Case{"/etc/", home, "/etc/", "/etc"},
           Case{"../Videos", home, "/home/u/Music/../Videos", "/home/u/Videos"},
           Case{"~bob/x", home, "/home/u/Music/~bob/x", "/home/u/Music/~bob/x"},
           Case{"~", std::nullopt, "/home/u/Music/~", "/home/u/Music/~"},
           Case{"", home, "/home/u/Music/", "/home/u/Music"},
           Case{"/", home, "/", "/"},
       }) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(resolve_typed_text(c.text, c.home, base), c.resolved);
    EXPECT_EQ(submitted_location(c.text, c.home, base), c.submitted);
  }
}

std::vector<std::string> labels(const std::vector<vask_ui::Suggestion>& s) {
  std::vector<std::string> out;
  for (const auto& x : s)
    out.push_back(x.label);
  return out;
}
std::vector<std::string> values(const std::vector<vask_ui::Suggestion>& s) {
  std::vector<std::string> out;
  for (const auto& x : s)
    out.push_back(x.value);
  return out;
}

/// A real home folder with visible and hidden files and folders.
class SuggestionsTest : public ::testing::Test {
 protected:
  SuggestionsTest() {
    home_ = tmp_.folder("home");
    for (const char* folder : {"home/Documents", "home/music", "home/.config", "home/.Cache",
                               "home/Desktop", "home/Documents/Tax"}) {
      tmp_.folder(folder);
    }
    for (const char* file :
         {"home/notes.txt", "home/Diary.md", "home/.cshrc", "home/.local-x", "home/apple.png"}) {
      tmp_.file(file);
    }
  }
  std::vector<vask_ui::Suggestion> suggest(std::string_view text,
                                           std::filesystem::path base = {}) const {
    return path_suggestions(text, home_, base.empty() ? home_ : base);
  }

  chrome_testing::ScratchFolder tmp_;
  std::filesystem::path home_;
};

TEST_F(SuggestionsTest, TildeListsTheVisibleEntriesFoldersFirst) {
  auto s = suggest("~");
  EXPECT_EQ(labels(s), (std::vector<std::string>{"Desktop", "Documents", "music", "apple.png",
                                                 "Diary.md", "notes.txt"}));
  EXPECT_EQ(s[1].value, "~/Documents/");
  EXPECT_EQ(s[3].value, "~/apple.png");
  EXPECT_EQ(s[0].icon, vask_ui::icons::Icon::Folder);
  EXPECT_EQ(s[3].icon, vask_ui::icons::icon_for_path(home_ / "apple.png", false));
  // The same list for no text at all, relative to the folder where editing started.
  EXPECT_EQ(labels(suggest("")), labels(s));
}

TEST_F(SuggestionsTest, PrefixesMatchIgnoringCase) {
  EXPECT_EQ(labels(suggest("~/d")), (std::vector<std::string>{"Desktop", "Documents", "Diary.md"}));
  EXPECT_EQ(labels(suggest("~/DO")), (std::vector<std::string>{"Documents"}));
  EXPECT_EQ(labels(suggest("~/Documents/")), (std::vector<std::string>{"Tax"}));
  EXPECT_EQ(values(suggest("~/Documents/t")), (std::vector<std::string>{"~/Documents/Tax/"}));
  // Relative text completes inside the folder where editing started.
  EXPECT_EQ(values(suggest("Doc")), (std::vector<std::string>{"~/Documents/"}));
  // Absolute text outside home shows plain paths.
  auto outside = path_suggestions(home_.string() + "/Documents/", std::nullopt, "/");
  EXPECT_EQ(values(outside), (std::vector<std::string>{home_.string() + "/Documents/Tax/"}));
}

TEST_F(SuggestionsTest, HiddenEntriesOnlyForADotPrefix) {
  EXPECT_EQ(labels(suggest("~/.c")), (std::vector<std::string>{".Cache", ".config", ".cshrc"}));
  EXPECT_EQ(labels(suggest("~/.")),
            (std::vector<std::string>{".Cache", ".config", ".cshrc", ".local-x"}));
}

TEST_F(SuggestionsTest, UnreadableOrMissingFolderOffersNothing) {
  EXPECT_TRUE(suggest("~/nothing-here/").empty());
  EXPECT_TRUE(suggest("~/notes.txt/").empty());
  EXPECT_TRUE(suggest("~/zzz").empty());
}

TEST_F(SuggestionsTest, AtMostSixtyFoldersFirst) {
  auto many = tmp_.folder("many");
  for (int i = 0; i < 50; ++i) {
    tmp_.file("many/f" + std::to_string(100 + i));
    tmp_.folder("many/F" + std::to_string(200 + i));
  }
  auto s = path_suggestions(many.string() + "/f", home_, "/");
  ASSERT_EQ(s.size(), kMaxSuggestions);
  EXPECT_EQ(s.front().label, "F200");
  EXPECT_EQ(s[49].label, "F249");
  EXPECT_EQ(s[50].label, "f100");
  EXPECT_EQ(s.back().label, "f109");
}

}  // namespace
}  // namespace files::path_bar
