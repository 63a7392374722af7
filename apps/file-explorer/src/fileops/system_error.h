#pragma once

#include <cerrno>
#include <string>

namespace files::fileops {

/// The operating system's own text for an errno value ("No such file or directory"); this is
/// what the user sees inside messages such as "Rename failed: { $error }".
std::string system_error_text(int error_number);

/// Runs a system call again while it is interrupted by a signal.
template <typename Call>
auto retry_eintr(Call&& call) {
  for (;;) {
    auto result = call();
    if (result != -1 || errno != EINTR) return result;
  }
}

}  // namespace files::fileops
