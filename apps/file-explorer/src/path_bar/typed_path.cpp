#include "path_bar/typed_path.h"

#include <algorithm>

#include "favorites/folder_path.h"
#include "vask_ui/icons.h"

namespace files::path_bar {
namespace {

std::string ascii_lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

struct Listed {
  std::string name;
  std::string lower;
  bool is_dir = false;
};

}  // namespace

std::string display_form(const std::filesystem::path& folder,
                         const std::optional<std::filesystem::path>& home) {
  if (home && favorites::folder_contains(*home, folder)) {
    const auto rest =
        favorites::plain_folder(folder).lexically_relative(favorites::plain_folder(*home));
    if (rest.empty() || rest == ".") return "~";
    return "~/" + favorites::display_text(rest);
  }
  return favorites::display_text(folder);
}

std::filesystem::path resolve_typed_text(std::string_view text,
                                         const std::optional<std::filesystem::path>& home,
                                         const std::filesystem::path& base) {
  std::filesystem::path typed;
  if (home && text == "~") {
    typed = *home;
  } else if (home && text.starts_with("~/")) {
    std::string_view rest = text.substr(2);
    // "~//x" means the same as "~/x", as in a shell.
    while (rest.starts_with('/'))
      rest.remove_prefix(1);
    typed = home->native() + (home->native().ends_with('/') ? "" : "/") + std::string(rest);
  } else {
    typed = std::string(text);
  }
  return base / typed;
}

std::filesystem::path submitted_location(std::string_view text,
                                         const std::optional<std::filesystem::path>& home,
                                         const std::filesystem::path& base) {
  auto normal = resolve_typed_text(text, home, base).lexically_normal();
  return favorites::plain_folder(normal);
}

std::vector<vask_ui::Suggestion> path_suggestions(std::string_view text,
                                                  const std::optional<std::filesystem::path>& home,
                                                  const std::filesystem::path& base) {
  std::string resolved = resolve_typed_text(text, home, base).native();
  if ((text.empty() || text == "~") && !resolved.ends_with('/')) resolved += '/';
  std::filesystem::path folder;
  std::string prefix;
  if (auto slash = resolved.rfind('/'); slash != std::string::npos) {
    folder = resolve_typed_text(std::string_view(resolved).substr(0, slash + 1), home, base);
    prefix = resolved.substr(slash + 1);
  } else {
    folder = resolve_typed_text(resolved, home, base);
  }

  const bool show_hidden = prefix.starts_with('.');
  const std::string lower_prefix = ascii_lower(prefix);
  std::vector<Listed> listed;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  if (ec) return {};
  for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (ec) return {};
    std::string name = it->path().filename().native();
    if (name.starts_with('.') && !show_hidden) continue;
    std::string lower = ascii_lower(name);
    if (!lower.starts_with(lower_prefix)) continue;
    std::error_code type_ec;
    bool is_dir = it->is_directory(type_ec);
    listed.push_back(Listed{std::move(name), std::move(lower), is_dir});
  }
  const std::size_t keep = std::min(listed.size(), kMaxSuggestions);
  std::partial_sort(listed.begin(), listed.begin() + static_cast<std::ptrdiff_t>(keep),
                    listed.end(), [](const Listed& a, const Listed& b) {
                      if (a.is_dir != b.is_dir) return a.is_dir;
                      if (a.lower != b.lower) return a.lower < b.lower;
                      return a.name < b.name;
                    });
  listed.resize(keep);

  std::vector<vask_ui::Suggestion> out;
  out.reserve(listed.size());
  for (const Listed& entry : listed) {
    const auto path = folder / entry.name;
    std::string value = display_form(path, home);
    if (entry.is_dir && !value.ends_with('/')) value += '/';
    out.push_back(vask_ui::Suggestion{favorites::display_text(entry.name), std::move(value),
                                      vask_ui::icons::icon_for_path(path, entry.is_dir)});
  }
  return out;
}

}  // namespace files::path_bar
