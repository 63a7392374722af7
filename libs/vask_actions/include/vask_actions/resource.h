#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vask_actions/action_spec.h"

namespace vask_actions {

/// Something a window shows that clients can address: a folder, an entry, a control. Ids are
/// derived from what the resource stands for, so they survive reloads and restarts.
struct Resource {
  std::string id;
  std::string kind;
  std::string label;
  std::vector<Resource> children;
  std::vector<ActionSpec> actions;

  Resource() = default;
  Resource(std::string id_, std::string kind_, std::string label_)
      : id(std::move(id_)), kind(std::move(kind_)), label(std::move(label_)) {}

  Resource& with_action(ActionSpec action) & {
    actions.push_back(std::move(action));
    return *this;
  }
  Resource&& with_action(ActionSpec action) && { return std::move(with_action(std::move(action))); }
  Resource& with_child(Resource child) & {
    children.push_back(std::move(child));
    return *this;
  }
  Resource&& with_child(Resource child) && { return std::move(with_child(std::move(child))); }

  /// The action of that name, or nullptr.
  const ActionSpec* find_action(std::string_view name) const;
  /// This resource or a descendant with that id (depth first), or nullptr.
  const Resource* find(std::string_view resource_id) const;

  friend bool operator==(const Resource&, const Resource&) = default;
};

}  // namespace vask_actions
