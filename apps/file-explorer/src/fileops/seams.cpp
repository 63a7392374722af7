#include "fileops/seams.h"

namespace files::fileops {
namespace {

FaultHook& installed_hook() {
  static FaultHook hook;
  return hook;
}

}  // namespace

void set_fault_hook(FaultHook hook) {
  installed_hook() = std::move(hook);
}

int injected_fault(FaultPoint point, const std::filesystem::path& path) {
  const FaultHook& hook = installed_hook();
  return hook ? hook(point, path) : 0;
}

}  // namespace files::fileops
