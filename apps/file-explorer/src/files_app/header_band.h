#pragma once

#include <filesystem>

#include "vask_ui/widget.h"

namespace files::app {

/// The band above the file view where the toolbar and the path bar sit; it names the folder on
/// view with its icon.
class HeaderBand final : public vask_ui::Widget {
 public:
  static constexpr float kHeight = 48;

  void set_folder(const std::filesystem::path& folder) { folder_ = folder; }
  void set_theme(const vask_ui::Theme* theme) { theme_ = theme; }

  vask_ui::LayoutNode build_layout(vask_ui::Size available) override;
  void apply_layout(const vask_ui::LayoutResult& layout) override;
  void draw(vask_ui::Canvas& canvas) override;

 private:
  std::filesystem::path folder_;
  const vask_ui::Theme* theme_ = nullptr;
  vask_ui::Rect rect_;
};

}  // namespace files::app
