#include "fileops/transfer.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/stat.h>

#include <optional>

#include "fileops/item_name.h"
#include "fileops/remove.h"
#include "fileops/seams.h"
#include "fileops/system_error.h"
#include "fileops/transfer_staging.h"
#include "fileops/tree_copy.h"
#include "fileops/uuid.h"
#include "i18n/i18n.h"

namespace files::fileops {
namespace {

constexpr int kQuarantineAttempts = 32;

/// renameat2 with RENAME_NOREPLACE on two paths relative to the working directory; returns 0 or
/// the errno value (a fault hook at `point` may supply one instead).
int rename_no_replace(const std::filesystem::path& from, const std::filesystem::path& to,
                      std::optional<FaultPoint> point = std::nullopt) {
  if (point) {
    if (const int injected = injected_fault(*point, *point == FaultPoint::FastRename ? from : to)) {
      return injected;
    }
  }
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  return errno;
}

std::string names_exhausted(const std::string& name, const std::filesystem::path& folder) {
  return i18n::t_args("files-destination-names-exhausted",
                      {{"name", name}, {"path", path_text(folder)}});
}

/// The outcome of renaming an item onto the first free candidate name: the target tried last
/// and the rename's errno there (0 on success), or nullopt when every candidate was taken.
struct Placement {
  std::filesystem::path target;
  int error_number = 0;
};

/// Renames `from` onto the free candidates in order, refusing to replace; a name taken between
/// the check and the rename moves on to the next one. Stops at the first other rename failure.
/// The error is that of the destination check.
std::expected<std::optional<Placement>, std::string> rename_onto_free_candidate(
    const std::filesystem::path& from, const std::filesystem::path& destination,
    const NameCandidates& candidates, FaultPoint point) {
  for (unsigned n = kFirstCandidate; n <= kLastCandidate; ++n) {
    std::filesystem::path target = destination / candidates.candidate(n);
    auto occupancy = check_destination(target);
    if (!occupancy) return std::unexpected(occupancy.error());
    if (*occupancy == Occupancy::Taken) continue;
    const int error_number = rename_no_replace(from, target, point);
    if (error_number != EEXIST) return Placement{std::move(target), error_number};
  }
  return std::nullopt;
}

/// The fast move: try to rename the source onto the free candidates. Returns the final path, an
/// error from the destination check, or nullopt when the algorithm must continue with the staged
/// copy (other file system, flag unsupported, permission, or no free name).
std::optional<TransferResult> fast_move(const std::filesystem::path& source,
                                        const std::filesystem::path& destination,
                                        const NameCandidates& candidates) {
  auto placed = rename_onto_free_candidate(source, destination, candidates, FaultPoint::FastRename);
  if (!placed) return std::unexpected(placed.error());
  if (*placed && (*placed)->error_number == 0) return (*placed)->target;
  return std::nullopt;
}

/// Quarantine: rename the source aside inside its own folder under a fresh hidden name.
std::expected<std::filesystem::path, std::string> quarantine_source(
    const std::filesystem::path& source, const std::filesystem::path& parent) {
  for (int attempt = 0; attempt < kQuarantineAttempts; ++attempt) {
    std::filesystem::path quarantine = parent / (kQuarantinePrefix + random_uuid_text());
    const int error_number = rename_no_replace(source, quarantine);
    if (error_number == 0) return quarantine;
    if (error_number != EEXIST) return std::unexpected(system_error_text(error_number));
  }
  return std::unexpected("could not allocate private source quarantine");
}

/// Publishing: rename the payload onto the first free candidate.
TransferResult publish(TransferStaging& staging, const std::filesystem::path& destination,
                       const NameCandidates& candidates) {
  auto placed = rename_onto_free_candidate(staging.payload(), destination, candidates,
                                           FaultPoint::PublishRename);
  if (!placed) return std::unexpected(placed.error());
  if (!*placed) return std::unexpected(names_exhausted(candidates.base_name(), destination));
  if ((*placed)->error_number != 0) {
    return std::unexpected(system_error_text((*placed)->error_number));
  }
  staging.finish_after_publish();
  return (*placed)->target;
}

/// Resolves a path with all links; the error is the system's text.
std::expected<std::filesystem::path, std::string> resolve(const std::filesystem::path& path) {
  std::error_code error;
  auto resolved = std::filesystem::canonical(path, error);
  if (error) return std::unexpected(error.message());
  return resolved;
}

}  // namespace

std::expected<Occupancy, std::string> check_destination(const std::filesystem::path& candidate) {
  struct stat st {};
  if (::lstat(candidate.c_str(), &st) == 0) return Occupancy::Taken;
  if (errno == ENOENT) return Occupancy::Free;
  return std::unexpected(
      i18n::t_args("files-destination-inspect-failed",
                   {{"path", path_text(candidate)}, {"error", system_error_text(errno)}}));
}

TransferResult transfer(const std::filesystem::path& source,
                        const std::filesystem::path& destination, TransferMode mode) {
  const bool move = mode == TransferMode::Move;

  // What the source is; a folder never goes into itself.
  struct stat st {};
  if (::lstat(source.c_str(), &st) != 0) return std::unexpected(system_error_text(errno));
  if (S_ISDIR(st.st_mode)) {
    auto canonical_source = resolve(source);
    if (!canonical_source) return std::unexpected(canonical_source.error());
    auto canonical_destination = resolve(destination);
    if (!canonical_destination) return std::unexpected(canonical_destination.error());
    if (is_same_or_inside(*canonical_destination, *canonical_source)) {
      return std::unexpected("cannot copy or move a folder into itself");
    }
  }

  // The names this item may take.
  const auto file_name = item_file_name(source);
  if (!file_name) return std::unexpected(i18n::t("files-source-no-name"));
  const NameCandidates candidates(lossy_utf8(file_name->native()));

  // A move into the folder that already holds the item would only rename it.
  const auto parent = item_parent(source);
  if (move && parent) {
    std::error_code parent_error;
    std::error_code destination_error;
    const auto canonical_parent = std::filesystem::canonical(*parent, parent_error);
    const auto canonical_destination = std::filesystem::canonical(destination, destination_error);
    if (!parent_error && !destination_error && canonical_parent == canonical_destination) {
      return std::unexpected("the item is already in this folder");
    }
  }

  // A destination we cannot even look into fails early, before anything is created.
  if (auto occupancy = check_destination(destination / candidates.base_name()); !occupancy) {
    return std::unexpected(occupancy.error());
  }

  // Within one file system a move is a single rename.
  if (move) {
    if (auto moved = fast_move(source, destination, candidates)) return *moved;
  }

  // Otherwise the copy is assembled privately.
  auto staging = TransferStaging::allocate(destination);
  if (!staging) return std::unexpected(staging.error());
  if (auto copied = copy_tree(source, staging->payload()); !copied) {
    return std::unexpected(staging->cleanup(copied.error()));
  }

  // A move removes the source only now that a complete copy exists.
  if (move) {
    if (!parent) return std::unexpected(staging->cleanup("source has no parent directory"));
    auto quarantine = quarantine_source(source, *parent);
    if (!quarantine) return std::unexpected(staging->cleanup(quarantine.error()));
    if (auto removed = remove_if_exists(*quarantine); !removed) {
      return std::unexpected(staging->restore(source, *quarantine, removed.error()));
    }
  }

  // Publish under the first free name; on failure give the source back or clean up.
  auto published = publish(*staging, destination, candidates);
  if (published) return published;
  if (move) return std::unexpected(staging->restore(source, std::nullopt, published.error()));
  return std::unexpected(staging->cleanup(published.error()));
}

TransferResult copy_into(const std::filesystem::path& source,
                         const std::filesystem::path& destination) {
  return transfer(source, destination, TransferMode::Copy);
}

TransferResult move_into(const std::filesystem::path& source,
                         const std::filesystem::path& destination) {
  return transfer(source, destination, TransferMode::Move);
}

std::expected<void, std::string> move_to_exact(const std::filesystem::path& source,
                                               const std::filesystem::path& target,
                                               const std::filesystem::path& staging_parent) {
  const int error_number = rename_no_replace(source, target, FaultPoint::FastRename);
  if (error_number == 0) return {};
  if (error_number == EEXIST) return std::unexpected(system_error_text(error_number));

  std::optional<std::filesystem::path> staging_folder = staging_parent;
  if (staging_parent.empty()) staging_folder = item_parent(target);
  if (!staging_folder) return std::unexpected(system_error_text(EINVAL));
  auto staging = TransferStaging::allocate(*staging_folder);
  if (!staging) return std::unexpected(staging.error());
  if (auto copied = copy_tree(source, staging->payload()); !copied) {
    return std::unexpected(staging->cleanup(copied.error()));
  }
  if (const int publish_error =
          rename_no_replace(staging->payload(), target, FaultPoint::PublishRename)) {
    return std::unexpected(staging->cleanup(system_error_text(publish_error)));
  }
  staging->finish_after_publish();
  if (auto removed = remove_if_exists(source); !removed) {
    return std::unexpected("copied to " + path_text(target) + " but " + path_text(source) +
                           " could not be removed: " + removed.error());
  }
  return {};
}

}  // namespace files::fileops
