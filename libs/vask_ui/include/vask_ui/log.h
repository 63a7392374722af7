#pragma once

#include <memory>
#include <string>

#include <spdlog/spdlog.h>

/// The process-wide structured log. Each component logs under its own target name (for example
/// "file_explorer::fileops").
namespace vask_ui::log {

/// Installs the default formatter and level (VASK_LOG=debug|info|warn|error overrides it).
void init_default();
/// The logger for one target, created on first use.
std::shared_ptr<spdlog::logger> get(const std::string& target);

}  // namespace vask_ui::log
