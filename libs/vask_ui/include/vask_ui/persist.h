#pragma once

#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>
#include <vector>

/// The application's persistent state document: a small JSON file under the XDG state folder
/// that records which actor (installation) wrote it.
namespace vask_ui {

class StateDocument {
 public:
  /// The actor id bytes the document carries.
  const std::vector<std::uint8_t>& actor() const { return actor_; }
  /// Lower-case hexadecimal form of the actor id.
  std::string actor_hex() const;
  void set_actor(std::vector<std::uint8_t> actor) { actor_ = std::move(actor); }
  const std::filesystem::path& path() const { return path_; }
  /// Writes the document atomically (temporary file, then rename).
  std::expected<void, std::string> save() const;

 private:
  std::filesystem::path path_;
  std::vector<std::uint8_t> actor_;
  friend std::expected<StateDocument, std::string> open_state_document(
      const std::filesystem::path&);
};

/// Opens the document at `path`, creating it with a fresh random 16-byte actor when it does
/// not exist or cannot be read.
std::expected<StateDocument, std::string> open_state_document(const std::filesystem::path& path);

namespace persist {
/// Opens the state document of `application_id` under $XDG_STATE_HOME.
std::expected<StateDocument, std::string> open(std::string_view application_id);
}  // namespace persist

}  // namespace vask_ui
