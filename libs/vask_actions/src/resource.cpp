#include "vask_actions/resource.h"

namespace vask_actions {

const ActionSpec* Resource::find_action(std::string_view name) const {
  for (const ActionSpec& action : actions) {
    if (action.name() == name) return &action;
  }
  return nullptr;
}

const Resource* Resource::find(std::string_view resource_id) const {
  if (id == resource_id) return this;
  for (const Resource& child : children) {
    if (const Resource* found = child.find(resource_id)) return found;
  }
  return nullptr;
}

}  // namespace vask_actions
