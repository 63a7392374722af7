#pragma once

#include <filesystem>
#include <functional>

namespace files::archive_ops {

/// Called right before each rename that publishes a finished extraction or archive, with the
/// path it is about to take. Tests install one to put an item at that path in between and
/// prove it is never replaced. Production code never installs a hook; without one the call
/// costs one branch.
using PublishHook = std::function<void(const std::filesystem::path& target)>;

/// Installs (or with an empty function removes) the hook for this process.
void set_publish_hook(PublishHook hook);

namespace detail {
void before_publish(const std::filesystem::path& target);
}  // namespace detail

}  // namespace files::archive_ops
