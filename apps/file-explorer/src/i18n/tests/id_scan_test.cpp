// Every "files-…" string in the sources of apps/ and libs/ must be a message of both bundles, so a
// mistyped id or a message nobody added fails here instead of showing its id on screen. The scan
// walks the tree each time it runs, so code added later is covered too.
//
// Test folders are left out: their data legitimately holds look-alikes such as the actor name
// "files-" + user id, and a test that used a wrong id would show it in its own expectations.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <vask_ui/fluent.h>

#include "i18n/bundle_table.h"

namespace files::i18n {
namespace {

namespace fs = std::filesystem;

// Strings of the "files-" form that are not messages. "files-retry-folder" is the semantic action
// id of the error panel's retry button.
const std::set<std::string, std::less<>> kNotMessageIds = {"files-retry-folder"};

// A line carrying this marker is skipped, for the rare string that only looks like an id.
constexpr std::string_view kIgnoreMarker = "i18n-scan: not a message id";

struct Use {
  std::string id;
  std::string where;
};

bool is_source_file(const fs::path& path) {
  static const std::set<std::string, std::less<>> kExtensions = {
      ".h", ".hpp", ".hh", ".c", ".cc", ".cpp", ".cxx", ".inc", ".ipp"};
  return kExtensions.contains(path.extension().string());
}

bool is_id_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// Finds `"files-<id>"` string literals: a quote, the id, and a closing quote right after it. A
// prefix such as "files-" (used to build actor names) is not an id.
void scan_line(std::string_view line, const std::string& where, std::vector<Use>& uses) {
  if (line.find(kIgnoreMarker) != std::string_view::npos) return;
  constexpr std::string_view kOpen = "\"files-";
  for (std::size_t at = line.find(kOpen); at != std::string_view::npos;
       at = line.find(kOpen, at + 1)) {
    std::size_t end = at + 1;
    while (end < line.size() && is_id_char(line[end]))
      ++end;
    if (end >= line.size() || line[end] != '"') continue;
    const std::string_view id = line.substr(at + 1, end - at - 1);
    if (id.ends_with('-') || kNotMessageIds.contains(id)) continue;
    uses.push_back(Use{std::string(id), where});
  }
}

std::vector<Use> scan_tree(const fs::path& root) {
  std::vector<Use> uses;
  std::error_code ec;
  fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const fs::path& path = it->path();
    const std::string name = path.filename().string();
    if (it->is_directory(ec)) {
      // Build trees hold generated copies; hidden folders hold tool state.
      if (name.starts_with('.') || name.starts_with("build") || name == "tests") {
        it.disable_recursion_pending();
      }
      continue;
    }
    if (!it->is_regular_file(ec) || !is_source_file(path)) continue;
    std::ifstream in(path);
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
      scan_line(line, path.string() + ":" + std::to_string(number), uses);
    }
  }
  return uses;
}

std::set<std::string, std::less<>> ids_of(std::string_view bundle_text) {
  std::set<std::string, std::less<>> ids;
  for (const auto& message : vask_ui::fluent::parse_resource(bundle_text).messages) {
    ids.insert(message.id);
  }
  return ids;
}

TEST(MessageIdScan, RecognisesIdLiteralsOnly) {
  std::vector<Use> uses;
  scan_line(R"(t("files-moved-to-trash"); t_args("files-name-exists", {{"name", n}});)", "a", uses);
  scan_line(R"(actor = "files-" + user; x = "vask-files-sync-demo"; y = "files-retry-folder";)",
            "b", uses);
  scan_line(R"(z = "files-look-alike"; // i18n-scan: not a message id)", "c", uses);
  scan_line(R"(w = "files-Upper"; v = "files-open-)", "d", uses);
  ASSERT_EQ(uses.size(), 2u);
  EXPECT_EQ(uses[0].id, "files-moved-to-trash");
  EXPECT_EQ(uses[1].id, "files-name-exists");
}

TEST(MessageIdScan, EveryIdUsedInTheSourcesExistsInBothBundles) {
  const fs::path root = FILES_SOURCE_ROOT;
  ASSERT_TRUE(fs::is_directory(root / "apps")) << root;
  std::vector<Use> uses;
  for (const char* top : {"apps", "libs"}) {
    std::vector<Use> found = scan_tree(root / top);
    uses.insert(uses.end(), found.begin(), found.end());
  }
  // The formatters of this folder use "files-time-unknown"; finding it proves the scan reaches
  // the sources.
  EXPECT_TRUE(std::any_of(uses.begin(), uses.end(),
                          [](const Use& use) { return use.id == "files-time-unknown"; }));
  for (const vask_ui::BundleSource& bundle : bundle_table()) {
    const auto ids = ids_of(bundle.text);
    for (const Use& use : uses) {
      EXPECT_TRUE(ids.contains(use.id))
          << use.where << ": \"" << use.id << "\" is not a message of the " << bundle.locale
          << " bundle";
    }
  }
}

}  // namespace
}  // namespace files::i18n
