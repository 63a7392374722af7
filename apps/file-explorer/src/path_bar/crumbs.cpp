#include "path_bar/crumbs.h"

#include "favorites/folder_path.h"
#include "i18n/i18n.h"

namespace files::path_bar {
namespace {

using favorites::folder_contains;
using favorites::plain_folder;

// Where the first crumb's text starts, relative to the icon's left edge.
constexpr float kIconAdvance = 24;
constexpr float kIconSize = 16;
constexpr float kHitSlop = 3;
constexpr float kLeftInset = 2;
constexpr float kRightInset = 4;

/// The root the trail starts from: the longest one holding `current`, the later on a tie.
std::optional<std::filesystem::path> containing_root(
    const std::filesystem::path& current, const std::vector<std::filesystem::path>& roots) {
  std::optional<std::filesystem::path> best;
  std::size_t best_length = 0;
  for (const auto& root : roots) {
    if (!folder_contains(root, current)) continue;
    std::size_t length = root.native().size();
    if (!best || length >= best_length) {
      best = root;
      best_length = length;
    }
  }
  return best;
}

Crumb first_crumb(const std::filesystem::path& current,
                  const std::optional<std::filesystem::path>& home,
                  const std::vector<std::filesystem::path>& roots) {
  if (auto root = containing_root(current, roots)) {
    return Crumb{favorites::last_component(*root).value_or(i18n::t("files-place-workspace")),
                 plain_folder(*root)};
  }
  if (home && folder_contains(*home, current)) {
    return Crumb{i18n::t("files-place-home"), plain_folder(*home)};
  }
  return Crumb{favorites::display_text("/"), "/"};
}

}  // namespace

std::vector<Crumb> build_crumbs(const std::filesystem::path& current,
                                const std::optional<std::filesystem::path>& home,
                                const std::vector<std::filesystem::path>& workspace_roots) {
  std::vector<Crumb> crumbs{first_crumb(current, home, workspace_roots)};
  const auto start = crumbs.front().path;
  const auto plain = plain_folder(current);
  auto part = plain.begin();
  // Skip the components the first crumb already stands for.
  for (auto s = start.begin(); s != start.end() && part != plain.end(); ++s)
    ++part;
  std::filesystem::path path = start;
  for (; part != plain.end(); ++part) {
    // Only plain names make crumbs; ".." cannot be shown as a folder of its own.
    if (part->empty() || *part == "." || *part == ".." || *part == "/") continue;
    path /= *part;
    crumbs.push_back(Crumb{favorites::display_text(*part), path});
  }
  return crumbs;
}

vask_ui::icons::Icon trail_icon(const Crumb& first,
                                const std::vector<std::filesystem::path>& workspace_roots) {
  for (const auto& root : workspace_roots) {
    if (folder_contains(root, first.path)) return vask_ui::icons::Icon::Workspace;
  }
  if (first.path == "/") return vask_ui::icons::Icon::Root;
  return vask_ui::icons::Icon::Home;
}

std::vector<CrumbItem> layout_crumbs(const std::vector<Crumb>& crumbs, vask_ui::Rect bounds,
                                     const Measure& measure) {
  std::vector<CrumbItem> items;
  if (crumbs.empty()) return items;
  const float separator_slot = measure(kSeparator) + 2 * kSeparatorPad;
  const float cy = (bounds.y0 + bounds.y1) / 2;
  float x = bounds.x0 + kLeftInset;
  items.push_back(CrumbItem{.kind = CrumbItem::Kind::Icon,
                            .rect = {x, cy - kIconSize / 2, x + kIconSize, cy + kIconSize / 2}});
  x += kIconAdvance;

  auto place = [&](CrumbItem::Kind kind, std::string text, std::optional<std::size_t> crumb,
                   float width, bool separator) {
    if (separator) x += separator_slot;
    items.push_back(CrumbItem{.kind = kind,
                              .text = std::move(text),
                              .crumb = crumb,
                              .rect = {x, cy - 6.5f, x + width, cy + 6.5f},
                              .is_current = crumb && *crumb + 1 == crumbs.size(),
                              .has_separator = separator});
    x += width;
  };

  place(CrumbItem::Kind::Label, crumbs[0].label, 0, measure(crumbs[0].label), false);

  std::vector<float> widths(crumbs.size(), 0);
  float needed = x;
  for (std::size_t i = 1; i < crumbs.size(); ++i) {
    widths[i] = measure(crumbs[i].label);
    needed += widths[i] + separator_slot;
  }
  const float right = bounds.x1 - kRightInset;
  std::size_t first_kept = 1;
  if (needed > right && crumbs.size() >= 3) {
    const float budget = (right - x) - (measure(kEllipsis) + separator_slot);
    float sum = 0;
    first_kept = crumbs.size();
    for (std::size_t i = crumbs.size() - 1; i >= 1; --i) {
      float add = widths[i] + separator_slot;
      // The current folder stays even when it alone does not fit.
      if (sum + add > budget && first_kept != crumbs.size()) break;
      sum += add;
      first_kept = i;
    }
    if (first_kept > 1) {
      place(CrumbItem::Kind::Ellipsis, std::string(kEllipsis), std::nullopt, measure(kEllipsis),
            true);
    }
  }
  for (std::size_t i = first_kept; i < crumbs.size(); ++i)
    place(CrumbItem::Kind::Label, crumbs[i].label, i, widths[i], true);
  return items;
}

std::optional<std::size_t> clickable_element_at(const std::vector<CrumbItem>& elements,
                                                vask_ui::Rect bounds, vask_ui::Point p) {
  if (p.y < bounds.y0 || p.y >= bounds.y1) return std::nullopt;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const CrumbItem& e = elements[i];
    if (!e.crumb || e.is_current) continue;
    if (p.x >= e.rect.x0 - kHitSlop && p.x <= e.rect.x1 + kHitSlop) return i;
  }
  return std::nullopt;
}

}  // namespace files::path_bar
