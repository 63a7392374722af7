#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vask_ui/geometry.h"
#include "vask_ui/icons.h"

/// The breadcrumb trail: which folders it shows for a path, and how they are placed in a bar of
/// a given width (eliding middle crumbs behind "…" when the trail does not fit).
namespace files::path_bar {

struct Crumb {
  std::string label;
  std::filesystem::path path;  ///< the folder the crumb opens
  friend bool operator==(const Crumb&, const Crumb&) = default;
};

/// The crumbs for `current`: from the longest workspace root containing it, else from home when
/// it lies there, else from "/"; then one crumb per folder below that.
std::vector<Crumb> build_crumbs(const std::filesystem::path& current,
                                const std::optional<std::filesystem::path>& home,
                                const std::vector<std::filesystem::path>& workspace_roots);

/// The icon in front of the trail: workspace, filesystem root or home.
vask_ui::icons::Icon trail_icon(const Crumb& first,
                                const std::vector<std::filesystem::path>& workspace_roots);

/// One placed element of the trail, rebuilt on every draw.
struct CrumbItem {
  enum class Kind { Icon, Label, Ellipsis };
  Kind kind = Kind::Label;
  std::string text;                  ///< the label or "…"; empty for the icon
  std::optional<std::size_t> crumb;  ///< absent for the icon and the ellipsis
  vask_ui::Rect rect;
  bool is_current = false;
  bool has_separator = false;  ///< a "›" stands in front of the element
};

inline constexpr std::string_view kSeparator = "›";
inline constexpr std::string_view kEllipsis = "…";
/// Space on each side of a separator.
inline constexpr float kSeparatorPad = 6;
/// Crumb texts are measured and drawn at this size.
inline constexpr float kCrumbFontSize = 13;

/// Text width at the crumb font size (the real one measures shaped text; tests pass their own).
using Measure = std::function<float(std::string_view)>;

/// Places the trail inside `bounds`. The first crumb and the current folder always show; when
/// the others do not fit, the ones nearest the start give way to a single "…".
std::vector<CrumbItem> layout_crumbs(const std::vector<Crumb>& crumbs, vask_ui::Rect bounds,
                                     const Measure& measure);

/// The element under the pointer that can be clicked: an ancestor crumb whose x-range, widened
/// by 3 on each side, holds `p`, while `p` lies within the bar's height.
std::optional<std::size_t> clickable_element_at(const std::vector<CrumbItem>& elements,
                                                vask_ui::Rect bounds, vask_ui::Point p);

}  // namespace files::path_bar
