// Archive bytes through the member listing: the first byte picks the reader (ZIP, tar,
// tar inside gzip). Whatever the bytes, a listing either fails with a text or yields members
// within the limits and with clean relative names.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "model/archive_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  using namespace files::model;
  const ArchiveFormat formats[] = {ArchiveFormat::Zip, ArchiveFormat::Tar, ArchiveFormat::TarGzip};
  const auto bytes = std::as_bytes(std::span(data + 1, size - 1));
  const auto listed = list_archive_members_in_memory(bytes, formats[data[0] % 3]);
  if (!listed) {
    if (listed.error().empty()) std::abort();
    return 0;
  }
  if (listed->size() > kMaxArchiveMembers) std::abort();
  std::uint64_t total = 0;
  for (const auto& member : *listed) {
    if (member.path.empty() || member.path.is_absolute()) std::abort();
    for (const auto& part : member.path) {
      if (part == ".." || part == "." || part.empty()) std::abort();
    }
    total += member.size;
  }
  if (total > kMaxArchiveExpandedBytes) std::abort();
  (void)members_in_folder(*listed, "");
  if (!listed->empty()) (void)members_in_folder(*listed, listed->front().path.parent_path());
  return 0;
}
