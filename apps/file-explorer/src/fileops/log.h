#pragma once

#include <memory>
#include <string>

namespace spdlog {
class logger;
}

namespace files::fileops {

/// The logger of target "file_explorer::fileops": warnings about clean-up failures, each with
/// the fields path and error.
std::shared_ptr<spdlog::logger> fileops_logger();

/// Writes one warning event of this target: `message path="..." error="..."`.
void warn_with_path(const char* message, const std::string& path, const std::string& error);

}  // namespace files::fileops
