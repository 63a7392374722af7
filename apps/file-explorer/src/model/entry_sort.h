#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/file_entry.h"

namespace files::model {

/// Sorts in place, stable: folders before everything else in either order; then by the key
/// (Name: full Unicode lower-case mapping compared as bytes; Size; Modified with absent times
/// first; Type: MIME type as bytes), reversed for Descending. Entries that compare equal keep
/// their order; there is no secondary key.
void sort_entries(std::vector<FileEntry>& entries, SortKey key, SortOrder order);

/// The Name key of one name: its full Unicode lower-case mapping (final sigma included).
std::string name_sort_key(std::string_view name);

}  // namespace files::model
