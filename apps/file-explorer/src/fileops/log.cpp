#include "fileops/log.h"

#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

namespace files::fileops {

std::shared_ptr<spdlog::logger> fileops_logger() {
  static const std::shared_ptr<spdlog::logger> logger = [] {
    constexpr const char* kName = "file_explorer::fileops";
    if (auto existing = spdlog::get(kName)) return existing;
    try {
      return spdlog::stderr_color_mt(kName);
    } catch (const spdlog::spdlog_ex&) {
      // Another thread registered it first; use that one.
      return spdlog::get(kName);
    }
  }();
  return logger;
}

void warn_with_path(const char* message, const std::string& path, const std::string& error) {
  if (auto logger = fileops_logger()) {
    logger->warn("{} path=\"{}\" error=\"{}\"", message, path, error);
  }
}

}  // namespace files::fileops
