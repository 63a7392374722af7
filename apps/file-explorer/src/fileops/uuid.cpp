#include "fileops/uuid.h"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <random>

#include <fmt/format.h>

namespace files::fileops {
namespace {

std::array<std::uint8_t, 16> random_bytes() {
  std::array<std::uint8_t, 16> bytes{};
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = ::getrandom(bytes.data() + filled, bytes.size() - filled, 0);
    if (got > 0) {
      filled += static_cast<std::size_t>(got);
    } else if (got < 0 && errno != EINTR) {
      // getrandom only fails on kernels older than 3.17; a name that merely needs to be
      // unlikely to collide can come from the library generator instead.
      std::random_device device;
      for (; filled < bytes.size(); ++filled)
        bytes[filled] = static_cast<std::uint8_t>(device());
    }
  }
  return bytes;
}

}  // namespace

std::string random_uuid_text() {
  auto b = random_bytes();
  b[6] = static_cast<std::uint8_t>((b[6] & 0x0f) | 0x40);
  b[8] = static_cast<std::uint8_t>((b[8] & 0x3f) | 0x80);
  return fmt::format(
      "{:02x}{:02x}{:02x}{:02x}-{:02x}{:02x}-{:02x}{:02x}-{:02x}{:02x}-"
      "{:02x}{:02x}{:02x}{:02x}{:02x}{:02x}",
      b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14],
      b[15]);
}

}  // namespace files::fileops
