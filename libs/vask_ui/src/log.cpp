#include "vask_ui/log.h"

#include <spdlog/sinks/stdout_color_sinks.h>

#include <cstdlib>
#include <mutex>
#include <string_view>

namespace vask_ui::log {
namespace {

spdlog::level::level_enum level_from_env() {
  const char* value = std::getenv("VASK_LOG");
  if (value == nullptr) return spdlog::level::info;
  std::string_view v(value);
  if (v == "trace") return spdlog::level::trace;
  if (v == "debug") return spdlog::level::debug;
  if (v == "warn") return spdlog::level::warn;
  if (v == "error") return spdlog::level::err;
  if (v == "off") return spdlog::level::off;
  return spdlog::level::info;
}

std::once_flag init_once;

}  // namespace

void init_default() {
  std::call_once(init_once, [] {
    spdlog::set_pattern("%Y-%m-%dT%H:%M:%S.%e %^%l%$ %n: %v");
    spdlog::set_level(level_from_env());
  });
}

std::shared_ptr<spdlog::logger> get(const std::string& target) {
  init_default();
  if (auto existing = spdlog::get(target)) return existing;
  // Two threads may race to create the same logger; the loser takes the winner's.
  try {
    auto logger = spdlog::stderr_color_mt(target);
    logger->set_level(spdlog::get_level());
    return logger;
  } catch (const spdlog::spdlog_ex&) {
    return spdlog::get(target);
  }
}

}  // namespace vask_ui::log
