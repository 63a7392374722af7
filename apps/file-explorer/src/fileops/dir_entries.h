#pragma once

#include <expected>
#include <string>
#include <vector>

namespace files::fileops {

/// Names of the entries of an open folder in the order the system lists them, without "." and
/// "..". The descriptor itself is neither moved nor closed (the listing reads a duplicate). The
/// error is an errno value.
std::expected<std::vector<std::string>, int> read_entry_names(int dir_fd);

}  // namespace files::fileops
