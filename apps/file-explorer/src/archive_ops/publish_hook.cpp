#include "archive_ops/publish_hook.h"

namespace files::archive_ops {
namespace {

PublishHook& installed_hook() {
  static PublishHook hook;
  return hook;
}

}  // namespace

void set_publish_hook(PublishHook hook) {
  installed_hook() = std::move(hook);
}

namespace detail {
void before_publish(const std::filesystem::path& target) {
  if (const PublishHook& hook = installed_hook()) hook(target);
}
}  // namespace detail

}  // namespace files::archive_ops
