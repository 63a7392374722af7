#pragma once

#include <memory>
#include <string>
#include <vector>

#include "vask_ui/selection.h"
#include "vask_ui/status_bubble.h"
#include "vask_ui/widgets/autocomplete.h"
#include "vask_ui/widgets/button.h"
#include "vask_ui/widgets/column.h"
#include "vask_ui/widgets/context_menu.h"
#include "vask_ui/widgets/empty_state.h"
#include "vask_ui/widgets/nav_shell.h"
#include "vask_ui/widgets/scrollable.h"
#include "vask_ui/widgets/spinner.h"
#include "vask_ui/widgets/text.h"
#include "vask_ui/widgets/text_input.h"
#include "vask_ui/widgets/toggle_group.h"

namespace gallery {

/// Every widget of the toolkit on one page, each placed in a titled panel.
class Gallery final : public vask_ui::Container {
 public:
  Gallery();

  /// Puts the widgets into the states the page shows (hover, pressed, focus, open popups).
  /// Runs after the first layout, because the states come from synthetic pointer input.
  void stage();

  vask_ui::LayoutNode build_layout(vask_ui::Size available) override;
  void apply_layout(const vask_ui::LayoutResult& layout) override;
  void draw(vask_ui::Canvas& canvas) override;
  void draw_overlay(vask_ui::Canvas& canvas) override;
  vask_ui::EventResult handle_event(const vask_ui::Event& event) override;
  vask_ui::AccessNode accessibility() const override;

 protected:
  std::vector<vask_ui::Widget*> children() const override;

 private:
  struct Panel {
    std::string title;
    vask_ui::Rect rect;
  };
  struct Placed {
    vask_ui::Widget* widget;
    vask_ui::Rect rect;
  };
  vask_ui::Widget& place(std::unique_ptr<vask_ui::Widget> widget, vask_ui::Rect rect);
  template <class W>
  W& add(std::unique_ptr<W> widget, vask_ui::Rect rect) {
    W& ref = *widget;
    place(std::move(widget), rect);
    return ref;
  }
  void build();
  void draw_selection_demo(vask_ui::Canvas& canvas) const;
  void draw_bubble_demo(vask_ui::Canvas& canvas) const;

  std::vector<std::unique_ptr<vask_ui::Widget>> owned_;
  std::vector<Placed> placed_;
  std::vector<Panel> panels_;

  vask_ui::Button* hovered_ = nullptr;
  vask_ui::Button* pressed_ = nullptr;
  vask_ui::Button* focused_ = nullptr;
  vask_ui::ToggleGroup* hovered_toggle_ = nullptr;
  vask_ui::TextInput* caret_field_ = nullptr;
  vask_ui::TextInput* selecting_ = nullptr;
  vask_ui::TextInput* composing_ = nullptr;
  vask_ui::TextInput* long_ = nullptr;
  vask_ui::Autocomplete* completing_ = nullptr;
  vask_ui::NavShell* overlay_shell_ = nullptr;
  vask_ui::Scrollable* scrolled_ = nullptr;
  vask_ui::ContextMenu<int> menu_;
  vask_ui::ContextMenu<int> submenu_;
  vask_ui::SelectionModel selection_;
  vask_ui::Rect selection_rect_;
  vask_ui::Rect bubble_rect_;
  vask_ui::Rect menu_panel_;
};

}  // namespace gallery
