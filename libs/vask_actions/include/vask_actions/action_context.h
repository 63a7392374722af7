#pragma once

#include <optional>
#include <string>

#include "vask_actions/resource.h"

namespace vask_actions {

/// What a toolkit screen acting on one item (a version history, say) needs to know about it:
/// the application, the item as a resource, and which side of the item the screen shows.
struct ActionContext {
  std::string application_id;
  std::string application_label;
  Resource item;
  std::optional<std::string> facet;

  /// A copy that shows the given facet (for example "version").
  ActionContext with_facet(std::string facet_name) const {
    ActionContext copy = *this;
    copy.facet = std::move(facet_name);
    return copy;
  }

  friend bool operator==(const ActionContext&, const ActionContext&) = default;
};

}  // namespace vask_actions
