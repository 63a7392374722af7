#include "fileops/transfer_staging.h"

#include <sys/stat.h>

#include <cerrno>
#include <utility>

#include "fileops/item_name.h"
#include "fileops/log.h"
#include "fileops/remove.h"
#include "fileops/system_error.h"
#include "fileops/tree_copy.h"
#include "fileops/uuid.h"

namespace files::fileops {
namespace {

constexpr int kNameAttempts = 32;

}  // namespace

std::expected<TransferStaging, std::string> TransferStaging::allocate(
    const std::filesystem::path& destination) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::filesystem::path folder = destination / (kTransferPrefix + random_uuid_text());
    if (::mkdir(folder.c_str(), 0700) == 0) return TransferStaging(std::move(folder));
    if (errno != EEXIST) return std::unexpected(system_error_text(errno));
  }
  return std::unexpected("could not allocate private transfer staging");
}

TransferStaging::TransferStaging(std::filesystem::path folder)
    : folder_(std::move(folder)), payload_(folder_ / "payload") {}

TransferStaging::TransferStaging(TransferStaging&& other) noexcept
    : folder_(std::move(other.folder_)),
      payload_(std::move(other.payload_)),
      finished_(std::exchange(other.finished_, true)) {}

TransferStaging::~TransferStaging() {
  if (finished_) return;
  if (auto removed = remove_if_exists(folder_, RemoveMode::MakeWritable); !removed) {
    warn_with_path("Files transfer staging cleanup failed during unwinding", path_text(folder_),
                   removed.error());
  }
}

void TransferStaging::finish_after_publish() {
  finished_ = true;
  if (auto removed = remove_if_exists(folder_, RemoveMode::MakeWritable); !removed) {
    warn_with_path("empty Files transfer staging container could not be removed",
                   path_text(folder_), removed.error());
  }
}

std::string TransferStaging::cleanup(std::string message) {
  finished_ = true;
  if (auto removed = remove_if_exists(folder_, RemoveMode::MakeWritable); !removed) {
    message += "; private staging retained at ";
    message += path_text(folder_);
    message += ": ";
    message += removed.error();
  }
  return message;
}

std::string TransferStaging::restore(const std::filesystem::path& source,
                                     const std::optional<std::filesystem::path>& quarantine,
                                     std::string message) {
  std::optional<std::string> quarantine_error;
  if (quarantine) {
    if (auto removed = remove_if_exists(*quarantine); !removed) quarantine_error = removed.error();
  }
  if (auto copied = copy_tree(payload_, source); !copied) {
    // The staged copy is now the only complete one: keep it and say where it is.
    finished_ = true;
    message += "; source restoration failed: ";
    message += copied.error();
    message += "; staged data retained at ";
    message += path_text(payload_);
    return message;
  }
  message = cleanup(std::move(message));
  if (quarantine_error) {
    message += "; partial source quarantine retained at ";
    message += path_text(*quarantine);
    message += ": ";
    message += *quarantine_error;
  }
  return message;
}

}  // namespace files::fileops
