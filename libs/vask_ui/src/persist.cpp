#include "vask_ui/persist.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "xdg_paths/xdg_paths.h"

namespace vask_ui {
namespace {

std::vector<std::uint8_t> random_actor() {
  std::vector<std::uint8_t> bytes(16);
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    ssize_t n = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    filled += static_cast<std::size_t>(n);
  }
  return bytes;
}

std::string to_hex(const std::vector<std::uint8_t>& bytes) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 0xF]);
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> from_hex(const std::string& text) {
  if (text.empty() || text.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    auto nibble = [](char c) -> int {
      if (c >= '0' && c <= '9') return c - '0';
      if (c >= 'a' && c <= 'f') return c - 'a' + 10;
      return -1;
    };
    int hi = nibble(text[i]);
    int lo = nibble(text[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
  }
  return out;
}

}  // namespace

std::string StateDocument::actor_hex() const {
  return to_hex(actor_);
}

std::expected<void, std::string> StateDocument::save() const {
  std::error_code ec;
  std::filesystem::create_directories(path_.parent_path(), ec);
  if (ec) return std::unexpected(path_.parent_path().string() + ": " + ec.message());
  nlohmann::json doc = {{"version", 1}, {"actor", actor_hex()}};
  std::string text = doc.dump(2) + "\n";
  auto temp = path_;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) return std::unexpected(temp.string() + ": write failed");
  }
  if (::rename(temp.c_str(), path_.c_str()) != 0) {
    return std::unexpected(path_.string() + ": " + std::strerror(errno));
  }
  return {};
}

std::expected<StateDocument, std::string> open_state_document(const std::filesystem::path& path) {
  StateDocument doc;
  doc.path_ = path;
  std::ifstream in(path, std::ios::binary);
  if (in) {
    std::stringstream buffer;
    buffer << in.rdbuf();
    auto parsed = nlohmann::json::parse(buffer.str(), nullptr, /*allow_exceptions=*/false);
    if (parsed.is_object() && parsed.contains("actor") && parsed["actor"].is_string()) {
      if (auto actor = from_hex(parsed["actor"].get<std::string>())) doc.actor_ = *actor;
    }
  }
  if (doc.actor_.empty()) {
    doc.actor_ = random_actor();
    // A document that cannot be written still works for this run; the next run tries again.
    (void)doc.save();
  }
  return doc;
}

namespace persist {
std::expected<StateDocument, std::string> open(std::string_view application_id) {
  auto state = xdg_paths::state_dir();
  if (!state) return std::unexpected(std::string("no home folder for the state document"));
  return open_state_document(*state / application_id / "state.json");
}
}  // namespace persist

}  // namespace vask_ui
