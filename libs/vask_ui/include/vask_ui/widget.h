#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vask_actions/outcome.h"
#include "vask_actions/resource.h"
#include "vask_ui/access.h"
#include "vask_ui/canvas.h"
#include "vask_ui/event.h"
#include "vask_ui/layout.h"
#include "vask_ui/theme.h"

/// The contract between the toolkit's frame loop and every widget.
namespace vask_ui {

using Clock = std::chrono::steady_clock;
using TimePoint = Clock::time_point;

/// What a frame knows when it starts.
struct FrameContext {
  TimePoint now;
  Size window_size;
  float scale_factor = 1;
  const Theme* theme = nullptr;
};

enum class CursorShape { Arrow, Pointer, Text, Grab, Grabbing, ResizeHorizontal, Busy };

/// A control that automation clients can see and invoke ("vask.control", "invoke" → …).
struct ControlResource {
  std::string kind;        ///< e.g. "vask.control" or "vask.control.segmented"
  std::string control_id;  ///< e.g. "files.path_input"
  std::string label;
  bool enabled = true;
  struct Action {
    std::string name;    ///< e.g. "invoke", "select"
    std::string target;  ///< e.g. "vask.ui.control.invoke"
    std::string title;   ///< shown to people, e.g. "Select"; empty when the name says enough
    /// The name of the action's integer argument (e.g. "index"); empty for nullary actions.
    std::string integer_argument;
  };
  std::vector<Action> actions;
};

/// An invocation of a control that the catalog handed to the widget tree.
struct ControlInvocation {
  std::string control_id;
  std::string action;
  std::optional<long long> integer_argument;
};

/// The control invocation that an automation action stands for: "vask.ui.control.invoke" (an
/// "invoke") or "vask.ui.segmented.select" (a "select" with the integer argument "index"), the
/// payload being the control id as a JSON string. nullopt for any other action or payload.
std::optional<ControlInvocation> control_invocation_of(const vask_actions::ActionRequest& request);

/// A named action performed through the accessibility tree: `action` is one of
/// `access_action` ("press", "showMenu"), `target` the node's action id.
struct SemanticAction {
  std::string action;
  std::string target;
};

class Widget {
 public:
  virtual ~Widget() = default;

  /// Start of a frame: bring state up to date (timers due, results of background work).
  virtual void sync(const FrameContext& frame) { (void)frame; }
  /// Describes this widget's layout for the available size.
  virtual LayoutNode build_layout(Size available) = 0;
  /// Receives the computed rectangles of the nodes from build_layout.
  virtual void apply_layout(const LayoutResult& layout) = 0;
  virtual void draw(Canvas& canvas) = 0;
  /// Drawn after everything else: menus, popups, drag feedback, sheets.
  virtual void draw_overlay(Canvas& canvas) { (void)canvas; }

  virtual EventResult handle_event(const Event& event) {
    (void)event;
    return EventResult::Ignored;
  }
  virtual AccessNode accessibility() const { return {}; }
  virtual bool perform_semantic_action(const SemanticAction& action) {
    (void)action;
    return false;
  }

  /// Asked after events and polls: does something need drawing again?
  virtual bool needs_redraw() const { return false; }
  /// True while an animation runs: the toolkit schedules the next frame right away.
  virtual bool needs_animation_frame() const { return false; }
  /// When the widget wants to be woken even without input (a timer, a fade's end).
  virtual std::optional<TimePoint> next_wake_deadline() const { return std::nullopt; }
  /// Between frames: take over results of worker threads.
  virtual void poll_background() {}

  virtual std::vector<ControlResource> resources() const { return {}; }
  virtual bool take_control_invocation(const ControlInvocation& invocation) {
    (void)invocation;
    return false;
  }

  // Automation (the endpoint of vask_ui/automation.h asks the root widget; all on the UI thread).
  /// The widget's visible state as the text of one JSON object, built fresh on each call.
  virtual std::string observation_json() const { return "{}"; }
  /// Everything the widget shows as one root resource with its children, or nullopt when it
  /// publishes none.
  virtual std::optional<vask_actions::Resource> action_resources() const { return std::nullopt; }
  /// Builds only the resource with this id; nullopt when the id names nothing.
  virtual std::optional<vask_actions::Resource> lookup_action_resource(std::string_view id) const {
    (void)id;
    return std::nullopt;
  }
  /// The action entry: an action id, its operation kind, payload and arguments, and the
  /// request's handle for a result that follows later (ActionPending). By default the
  /// toolkit's control actions go to take_control_invocation and nothing else is handled.
  virtual vask_actions::ActionOutcome perform_action(const vask_actions::ActionRequest& request) {
    if (auto invocation = control_invocation_of(request)) {
      if (take_control_invocation(*invocation)) return vask_actions::ActionCompleted{};
    }
    return vask_actions::ActionNotHandled{};
  }
  /// The completion call: the stored result of a pending action, handed out once.
  virtual std::optional<vask_actions::Completion> take_action_completion(
      vask_actions::RequestHandle handle) {
    (void)handle;
    return std::nullopt;
  }

  virtual CursorShape cursor_shape(Point position) const {
    (void)position;
    return CursorShape::Arrow;
  }
  virtual void focus_changed(bool focused) { (void)focused; }
  /// Whether the widget (or, for a container, one of its children) takes keyboard focus, so
  /// that Tab can move to it.
  virtual bool accepts_focus() const { return false; }
  /// Where a focused text field draws its caret, in window units, so that input methods can
  /// place their candidate window beside it.
  virtual std::optional<Rect> input_caret_rect() const { return std::nullopt; }
};

}  // namespace vask_ui
