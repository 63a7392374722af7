#include "path_bar/crumbs.h"

#include <gtest/gtest.h>

namespace files::path_bar {
namespace {

using Paths = std::vector<std::filesystem::path>;
using vask_ui::icons::Icon;

std::vector<std::string> labels(const std::vector<Crumb>& crumbs) {
  std::vector<std::string> out;
  for (const auto& c : crumbs)
    out.push_back(c.label);
  return out;
}

TEST(BuildCrumbs, ChoosesTheStartAndOneCrumbPerFolder) {
  struct Case {
    const char* name;
    std::filesystem::path current;
    std::optional<std::filesystem::path> home;
    Paths roots;
    std::vector<std::string> labels;
    std::filesystem::path first_path;
    Icon icon;
  };
  const Case cases[] = {
      {"root alone", "/", "/home/u", {}, {"/"}, "/", Icon::Root},
      {"outside home", "/usr/share", "/home/u", {}, {"/", "usr", "share"}, "/", Icon::Root},
      {"home itself", "/home/u", "/home/u", {}, {"Home"}, "/home/u", Icon::Home},
      {"inside home",
       "/home/u/Documents/tax",
       "/home/u/",
       {},
       {"Home", "Documents", "tax"},
       "/home/u",
       Icon::Home},
      {"home unknown", "/home/u/a", std::nullopt, {}, {"/", "home", "u", "a"}, "/", Icon::Root},
      {"sibling of home is not inside it",
       "/home/user2",
       "/home/u",
       {},
       {"/", "home", "user2"},
       "/",
       Icon::Root},
      {"workspace wins over home",
       "/home/u/ws/a",
       "/home/u",
       {"/home/u/ws"},
       {"ws", "a"},
       "/home/u/ws",
       Icon::Workspace},
      {"nested roots: the longer wins",
       "/w/team/a/b",
       std::nullopt,
       {"/w/team", "/w"},
       {"team", "a", "b"},
       "/w/team",
       Icon::Workspace},
      {"nested roots in the other order",
       "/w/team/a",
       std::nullopt,
       {"/w", "/w/team/"},
       {"team", "a"},
       "/w/team",
       Icon::Workspace},
      {"equal length: the later root",
       "/mnt/ab/x",
       std::nullopt,
       {"/mnt/ab", "/mnt/ab/"},
       {"ab", "x"},
       "/mnt/ab",
       Icon::Workspace},
      {"root without a name",
       "/srv",
       std::nullopt,
       {"/"},
       {"Workspace", "srv"},
       "/",
       Icon::Workspace},
      {"trailing separator and dots",
       "/usr/./lib/",
       std::nullopt,
       {},
       {"/", "usr", "lib"},
       "/",
       Icon::Root},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto crumbs = build_crumbs(c.current, c.home, c.roots);
    EXPECT_EQ(labels(crumbs), c.labels);
    ASSERT_FALSE(crumbs.empty());
    EXPECT_EQ(crumbs.front().path, c.first_path);
    EXPECT_EQ(trail_icon(crumbs.front(), c.roots), c.icon);
  }
  auto crumbs = build_crumbs("/home/u/Documents/tax", "/home/u", {});
  EXPECT_EQ(crumbs[2].path, std::filesystem::path("/home/u/Documents/tax"));
  EXPECT_EQ(crumbs[1].path, std::filesystem::path("/home/u/Documents"));
}

/// Every character is 10 units wide, so widths are easy to follow: "›" is 10 and its slot 22,
/// "…" is 10.
float fixed_measure(std::string_view text) {
  std::size_t chars = 0;
  for (unsigned char c : text)
    chars += (c & 0xC0) != 0x80;
  return 10.0f * static_cast<float>(chars);
}

std::vector<Crumb> trail(std::initializer_list<const char*> names) {
  std::vector<Crumb> out;
  std::filesystem::path p = "/";
  for (const char* name : names) {
    if (!out.empty()) p /= name;
    out.push_back(Crumb{name, out.empty() ? std::filesystem::path("/home/u") : p});
  }
  return out;
}

/// The texts of the placed elements, "[i]" for the icon and a leading "›" for a separator.
std::vector<std::string> shown(const std::vector<CrumbItem>& items) {
  std::vector<std::string> out;
  for (const auto& item : items) {
    if (item.kind == CrumbItem::Kind::Icon) {
      out.push_back("[i]");
    } else {
      out.push_back((item.has_separator ? "›" : "") + item.text);
    }
  }
  return out;
}

TEST(LayoutCrumbs, PlacesAndElidesTheTrail) {
  struct Case {
    const char* name;
    std::vector<Crumb> crumbs;
    float width;
    std::vector<std::string> shown;
  };
  // The first crumb's text starts at x = 26; each further crumb needs 22 + its width.
  const Case cases[] = {
      {"root alone", trail({"/"}), 400, {"[i]", "/"}},
      {"fits", trail({"Home", "a", "b"}), 400, {"[i]", "Home", "›a", "›b"}},
      // Home ends at 66; a, bb, ccc, dddd need 32 + 42 + 52 + 62 = 188 → 254 > 212. The budget
      // after the ellipsis is 146 − 32 = 114: exactly dddd and ccc.
      {"long trail in a narrow bar",
       trail({"Home", "a", "bb", "ccc", "dddd"}),
       216,
       {"[i]", "Home", "›…", "›ccc", "›dddd"}},
      {"exactly two crumbs overflow without an ellipsis",
       trail({"Home", "averyveryverylongname"}),
       120,
       {"[i]", "Home", "›averyveryverylongname"}},
      {"the current folder stays even when it alone overflows",
       trail({"Home", "a", "averyveryverylongname"}),
       120,
       {"[i]", "Home", "›…", "›averyveryverylongname"}},
      // Exactly filling the bar is not an overflow: 66 + 32 + 42 = 140 = 144 − 4.
      {"exact fit", trail({"Home", "a", "bb"}), 144, {"[i]", "Home", "›a", "›bb"}},
      {"one unit short", trail({"Home", "a", "bb"}), 143, {"[i]", "Home", "›…", "›bb"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto items = layout_crumbs(c.crumbs, {0, 0, c.width, 34}, fixed_measure);
    EXPECT_EQ(shown(items), c.shown);
  }
}

TEST(LayoutCrumbs, GeometryOfTheElements) {
  auto crumbs = trail({"Home", "a", "bb"});
  auto items = layout_crumbs(crumbs, {100, 10, 600, 44}, fixed_measure);
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0].rect, (vask_ui::Rect{102, 19, 118, 35}));
  EXPECT_FALSE(items[0].crumb.has_value());
  EXPECT_EQ(items[1].rect, (vask_ui::Rect{126, 20.5f, 166, 33.5f}));
  EXPECT_EQ(items[1].crumb, 0u);
  EXPECT_FALSE(items[1].is_current);
  EXPECT_EQ(items[2].rect.x0, 166 + 22);
  EXPECT_TRUE(items[2].has_separator);
  EXPECT_TRUE(items[3].is_current);
  EXPECT_EQ(items[3].crumb, 2u);

  auto elided =
      layout_crumbs(trail({"Home", "a", "bb", "ccc", "dddd"}), {0, 0, 216, 34}, fixed_measure);
  EXPECT_FALSE(elided[2].crumb.has_value()) << "the ellipsis opens nothing";
  EXPECT_EQ(elided[3].crumb, 3u);
  EXPECT_TRUE(layout_crumbs({}, {0, 0, 200, 34}, fixed_measure).empty());

  auto root = layout_crumbs(trail({"/"}), {0, 0, 200, 34}, fixed_measure);
  EXPECT_TRUE(root[1].is_current);
  EXPECT_FALSE(root[1].has_separator);
}

TEST(LayoutCrumbs, OnlyAncestorsAreClickableWithThreeUnitsOfSlack) {
  auto items = layout_crumbs(trail({"Home", "a", "bb"}), {0, 0, 400, 34}, fixed_measure);
  const vask_ui::Rect bounds{0, 0, 400, 34};
  // Home spans 26..66, "a" spans 88..98, "bb" (current) 120..140.
  struct Case {
    vask_ui::Point p;
    std::optional<std::size_t> element;
  };
  for (const Case& c :
       {Case{{23, 17}, 1}, Case{{22.9f, 17}, std::nullopt}, Case{{69, 17}, 1}, Case{{85, 17}, 2},
        Case{{101, 17}, 2}, Case{{130, 17}, std::nullopt}, Case{{8, 17}, std::nullopt},
        Case{{30, 34}, std::nullopt}, Case{{30, 0}, 1}}) {
    SCOPED_TRACE(std::to_string(c.p.x) + "," + std::to_string(c.p.y));
    EXPECT_EQ(clickable_element_at(items, bounds, c.p), c.element);
  }
}

}  // namespace
}  // namespace files::path_bar
