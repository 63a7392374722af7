#pragma once

#include <filesystem>
#include <string>

#include "vask_ui/widget.h"

namespace files {

/// The root widget until the explorer window exists: the opened folder's icon, name and path.
class StartView final : public vask_ui::Widget {
 public:
  explicit StartView(std::filesystem::path folder);

  const std::filesystem::path& folder() const { return folder_; }

  vask_ui::LayoutNode build_layout(vask_ui::Size available) override;
  void apply_layout(const vask_ui::LayoutResult& layout) override;
  void draw(vask_ui::Canvas& canvas) override;
  vask_ui::AccessNode accessibility() const override;

 private:
  enum NodeId { kRoot, kHeader, kIcon, kTitle, kPath };

  std::filesystem::path folder_;
  std::string title_;
  std::string path_text_;
  vask_ui::Rect root_rect_;
  vask_ui::Rect header_rect_;
  vask_ui::Rect icon_rect_;
  vask_ui::Rect title_rect_;
  vask_ui::Rect path_rect_;
};

}  // namespace files
