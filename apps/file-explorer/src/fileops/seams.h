#pragma once

#include <filesystem>
#include <functional>

namespace files::fileops {

/// Points inside the engine where tests can make a system call fail or act in between, to prove
/// that no failure or race loses data. Production code never installs a hook; with none
/// installed every point costs one branch.
enum class FaultPoint {
  /// Before each chunk of file content is written; the path is the copy's target file.
  CopyWrite,
  /// The fast-move rename of a transfer; the path is the source.
  FastRename,
  /// The rename that publishes a staged payload under its final name; the path is the target.
  PublishRename,
  /// Removal of an item by `remove_if_exists`; the path is the item.
  Remove,
  /// Between the target check and the rename system call of `rename_item`; the path is the
  /// target. Hooks use it to create the target in between.
  RenameItemCheck,
  /// Before an item is taken out of its folder into the Trash; the path is the item.
  TrashMove,
};

/// Returns an errno value to make the call at that point fail with, or 0 to let it run.
using FaultHook = std::function<int(FaultPoint, const std::filesystem::path&)>;

/// Installs (or with an empty function removes) the hook for this process.
void set_fault_hook(FaultHook hook);

/// The errno the installed hook asks for at this point; 0 when there is no hook.
int injected_fault(FaultPoint point, const std::filesystem::path& path);

/// Installs a hook for one scope and removes it when the scope ends.
class ScopedFaultHook {
 public:
  explicit ScopedFaultHook(FaultHook hook) { set_fault_hook(std::move(hook)); }
  ScopedFaultHook(const ScopedFaultHook&) = delete;
  ScopedFaultHook& operator=(const ScopedFaultHook&) = delete;
  ~ScopedFaultHook() { set_fault_hook({}); }
};

}  // namespace files::fileops
