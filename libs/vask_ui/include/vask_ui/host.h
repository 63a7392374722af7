#pragma once

#include <chrono>
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>

/// Host services: handing a file or URI to the desktop's default application.
namespace vask_ui::host {

class HostServices {
 public:
  virtual ~HostServices() = default;
  /// Opens a URI ("https://…", "file:///…") or an absolute path with the default application.
  /// Returns the opener's error text when it could not.
  virtual std::expected<void, std::string> open_uri(std::string_view uri) = 0;
  /// Opens a local path; paths that are not valid UTF-8 are refused ("the desktop opener takes
  /// UTF-8 paths").
  std::expected<void, std::string> open_path(const std::filesystem::path& path);
  /// Starts `program` (looked up on PATH, no arguments, no shell) with `folder` as its working
  /// directory and lets it run on its own. Returns the system's reason when it could not start.
  virtual std::expected<void, std::string> start_in_folder(std::string_view program,
                                                           const std::filesystem::path& folder);
};

/// Opens through an opener program such as xdg-open, started without a shell. The call waits
/// a short while for the opener's verdict (a missing file, no application) and then lets it
/// run on; its exit is reaped in the background.
class ProgramOpener final : public HostServices {
 public:
  explicit ProgramOpener(std::string program = "xdg-open",
                         std::chrono::milliseconds verdict_wait = std::chrono::milliseconds(1500));
  std::expected<void, std::string> open_uri(std::string_view uri) override;

 private:
  std::string program_;
  std::chrono::milliseconds verdict_wait_;
};

/// The process's host services: the installed ones, else a ProgramOpener for "xdg-open".
HostServices& current();
/// Replaces the host services (tests install a recording double); nullptr restores the
/// default. The caller keeps ownership and must outlive the installation.
void install(HostServices* services);

}  // namespace vask_ui::host
