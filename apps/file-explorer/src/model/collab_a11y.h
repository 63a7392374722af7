#pragma once

#include <string>

#include "model/file_entry.h"

namespace files::model {

/// The spoken description of one entry for the accessibility tree: what it is, then its
/// transfer or residency, offline policy, replica safety, sharing and open conflicts, in
/// catalog texts joined with ". ".
std::string collab_a11y_description(const FileEntry& entry);

}  // namespace files::model
