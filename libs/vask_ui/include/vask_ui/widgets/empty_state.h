#pragma once

#include <optional>
#include <string>

#include "vask_ui/icons.h"
#include "vask_ui/widgets/column.h"
#include "vask_ui/widgets/text.h"

namespace vask_ui {

/// A centred panel for a view with nothing to show: an optional accessory (a spinner) or icon,
/// a title, a detail line and a slot for one action (a "Try again" button).
class EmptyState final : public Container {
 public:
  explicit EmptyState(std::string title = {}, std::string detail = {});
  ~EmptyState() override;

  void set_title(std::string title);
  void set_detail(std::string detail);
  const std::string& title() const { return title_.text(); }
  const std::string& detail() const { return detail_.text(); }
  void set_icon(std::optional<icons::Icon> icon);
  /// Shown above the title, e.g. a spinner while a folder opens.
  void set_accessory(WidgetSlot accessory);
  /// Shown below the detail, e.g. a retry button.
  void set_action(WidgetSlot action);
  Widget* action() const { return action_.get(); }
  /// Marks the panel as reporting an error to assistive technology.
  void set_error(bool error) { error_ = error; }

  LayoutNode build_layout(Size available) override;
  void apply_layout(const LayoutResult& layout) override;
  void draw(Canvas& canvas) override;
  AccessNode accessibility() const override;

 protected:
  std::vector<Widget*> children() const override;
  void on_sync(const FrameContext& frame) override;

 private:
  class IconBox;
  void rebuild_column();

  Text title_;
  Text detail_;
  std::unique_ptr<IconBox> icon_;
  WidgetSlot accessory_;
  WidgetSlot action_;
  Column column_;
  bool error_ = false;
  Rect rect_;
};

}  // namespace vask_ui
