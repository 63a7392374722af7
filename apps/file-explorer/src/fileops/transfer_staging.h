#pragma once

#include <expected>
#include <filesystem>
#include <optional>
#include <string>

namespace files::fileops {

/// The private folder ".vask-transfer-<uuid>" (mode 0700) inside a destination folder in which a
/// copy is assembled under the name "payload" before it is published with one rename. The
/// record owns the folder: discarded while unfinished (an early return), it removes the folder
/// and warns if that fails. Publishing, the explicit clean-up and keeping the data after a failed
/// restore all mark it finished.
class TransferStaging {
 public:
  /// Creates a new staging folder in `destination`: up to 32 fresh names; an existing name means
  /// another attempt. Errors: the system's text, or "could not allocate private transfer
  /// staging" after 32 collisions.
  static std::expected<TransferStaging, std::string> allocate(
      const std::filesystem::path& destination);

  TransferStaging(TransferStaging&& other) noexcept;
  TransferStaging& operator=(TransferStaging&&) = delete;
  TransferStaging(const TransferStaging&) = delete;
  TransferStaging& operator=(const TransferStaging&) = delete;
  ~TransferStaging();

  const std::filesystem::path& folder() const { return folder_; }
  const std::filesystem::path& payload() const { return payload_; }
  bool finished() const { return finished_; }
  void mark_finished() { finished_ = true; }

  /// After a successful publish: the folder is empty now; remove it, and only warn ("empty Files
  /// transfer staging container could not be removed") if that fails.
  void finish_after_publish();

  /// Removes the staging folder and marks the record finished whatever happens; a failed removal
  /// extends `message` by "; private staging retained at <folder>: <error>".
  std::string cleanup(std::string message);

  /// Puts the staged payload back at `source` after the original went away: removes a leftover
  /// quarantine first (when given), copies the payload back and cleans up. Returns `message`
  /// extended by what else went wrong (see the transfer's messages).
  std::string restore(const std::filesystem::path& source,
                      const std::optional<std::filesystem::path>& quarantine, std::string message);

 private:
  explicit TransferStaging(std::filesystem::path folder);

  std::filesystem::path folder_;
  std::filesystem::path payload_;
  bool finished_ = false;
};

/// Prefix of every temporary name the transfer creates; such items are hidden.
inline constexpr const char* kTransferPrefix = ".vask-transfer-";
inline constexpr const char* kQuarantinePrefix = ".vask-transfer-source-";

}  // namespace files::fileops
