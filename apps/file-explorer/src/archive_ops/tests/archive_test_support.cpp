#include "archive_test_support.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace files::archive_ops::testing {
namespace {

namespace fs = std::filesystem;

void put16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xff));
  out.push_back(static_cast<char>((v >> 8) & 0xff));
}
void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}
void put64(std::string& out, std::uint64_t v) {
  put32(out, static_cast<std::uint32_t>(v));
  put32(out, static_cast<std::uint32_t>(v >> 32));
}

std::string compress_with(std::string_view data, int window_bits) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, window_bits, 9, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    ADD_FAILURE() << "deflateInit2";
    return {};
  }
  std::string out(deflateBound(&z, static_cast<uLong>(data.size())) + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// An octal header field of `width` bytes (width - 1 digits and a NUL).
void put_octal(char* field, std::size_t width, std::uint64_t value) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%0*llo", static_cast<int>(width - 1),
                static_cast<unsigned long long>(value));
  std::memcpy(field, digits, width);
}

std::string tar_header(const std::string& name, char type, std::uint64_t size,
                       const std::string& link_target, std::uint32_t mode) {
  char block[512] = {};
  std::memcpy(block, name.data(), std::min<std::size_t>(name.size(), 100));
  put_octal(block + 100, 8, mode);
  put_octal(block + 108, 8, 0);
  put_octal(block + 116, 8, 0);
  if (size <= 077777777777ULL) {
    put_octal(block + 124, 12, size);
  } else {
    // GNU base-256: the high bit of the first byte marks a binary big-endian number.
    block[124] = static_cast<char>(0x80);
    for (int i = 0; i < 8; ++i)
      block[135 - i] = static_cast<char>((size >> (8 * i)) & 0xff);
  }
  put_octal(block + 136, 12, 1700000000);
  block[156] = type;
  std::memcpy(block + 157, link_target.data(), std::min<std::size_t>(link_target.size(), 100));
  std::memcpy(block + 257, "ustar", 6);
  std::memcpy(block + 263, "00", 2);
  std::memset(block + 148, ' ', 8);
  unsigned sum = 0;
  for (unsigned char c : block)
    sum += c;
  std::snprintf(block + 148, 8, "%06o", sum);
  block[155] = ' ';
  return std::string(block, sizeof block);
}

void pad_block(std::string& out) {
  if (out.size() % 512 != 0) out.append(512 - out.size() % 512, '\0');
}

}  // namespace

TestFolder::TestFolder() {
  std::string pattern = "/tmp/files-archive-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp: " << std::strerror(errno);
  path_ = pattern;
}

TestFolder::~TestFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void write_file(const fs::path& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  ASSERT_TRUE(out.good()) << path;
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::map<std::string, std::string> tree_snapshot(const fs::path& root, std::size_t inline_limit) {
  std::map<std::string, std::string> out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec);
       it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const fs::path& p = it->path();
    const std::string key = p.lexically_relative(root).string();
    const auto status = it->symlink_status();
    if (fs::is_symlink(status)) {
      out[key] = "link:" + fs::read_symlink(p).string();
    } else if (fs::is_directory(status)) {
      out[key] = "dir";
    } else if (fs::is_regular_file(status)) {
      const std::string content = read_file(p);
      out[key] = content.size() <= inline_limit
                     ? "file:" + content
                     : "file:" + std::to_string(content.size()) + " bytes";
    } else {
      out[key] = "other";
    }
  }
  return out;
}

std::vector<std::string> names_in(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::uint32_t crc32_of(std::string_view data) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::string deflate_raw(std::string_view data) {
  return compress_with(data, -15);
}
std::string gzip(std::string_view data) {
  return compress_with(data, 15 + 16);
}

std::string build_zip(const std::vector<ZipMember>& members) {
  std::string out;
  std::string central;
  for (const ZipMember& m : members) {
    const std::string stored =
        m.stored_bytes ? *m.stored_bytes : (m.deflate ? deflate_raw(m.content) : m.content);
    const std::uint64_t usize = m.declared.value_or(m.content.size());
    const std::uint64_t csize = stored.size();
    const bool zip64 = usize >= 0xffffffffULL || csize >= 0xffffffffULL;
    std::string extra;
    if (zip64) {
      put16(extra, 0x0001);
      put16(extra, 16);
      put64(extra, usize);
      put64(extra, csize);
    }
    const std::uint32_t offset = static_cast<std::uint32_t>(out.size());
    const std::uint32_t csize32 = zip64 ? 0xffffffffU : static_cast<std::uint32_t>(csize);
    const std::uint32_t usize32 = zip64 ? 0xffffffffU : static_cast<std::uint32_t>(usize);
    // The fields both headers share, from "version needed" to the extra field's length.
    std::string common;
    put16(common, zip64 ? 45 : 20);
    put16(common, m.flags);
    put16(common, m.deflate ? 8 : 0);
    put16(common, 0);                        // time 00:00:00
    put16(common, (0 << 9) | (1 << 5) | 1);  // date 1980-01-01
    put32(common, m.crc.value_or(crc32_of(m.content)));
    put32(common, csize32);
    put32(common, usize32);
    put16(common, static_cast<std::uint32_t>(m.name.size()));
    put16(common, static_cast<std::uint32_t>(extra.size()));

    put32(out, 0x04034b50);
    out += common;
    out += m.name;
    out += extra;
    out += stored;

    put32(central, 0x02014b50);
    put16(central, (3 << 8) | (zip64 ? 45 : 20));  // made by Unix
    central += common;
    put16(central, 0);  // comment
    put16(central, 0);  // disk
    put16(central, 0);  // internal attributes
    put32(central, m.unix_mode << 16);
    put32(central, offset);
    central += m.name;
    central += extra;
  }
  const std::uint32_t central_offset = static_cast<std::uint32_t>(out.size());
  out += central;
  put32(out, 0x06054b50);
  put16(out, 0);
  put16(out, 0);
  put16(out, static_cast<std::uint32_t>(std::min<std::size_t>(members.size(), 0xffff)));
  put16(out, static_cast<std::uint32_t>(std::min<std::size_t>(members.size(), 0xffff)));
  put32(out, static_cast<std::uint32_t>(central.size()));
  put32(out, central_offset);
  put16(out, 0);
  return out;
}

std::string build_tar(const std::vector<TarMember>& members, bool unterminated) {
  std::string out;
  for (const TarMember& m : members) {
    if (!m.pax.empty()) {
      std::string records;
      for (const auto& [key, value] : m.pax) {
        // A record is "<length> <key>=<value>\n", the length counting itself.
        const std::string body = " " + key + "=" + value + "\n";
        std::size_t length = body.size() + 1;
        while (std::to_string(length).size() + body.size() != length)
          ++length;
        records += std::to_string(length) + body;
      }
      out += tar_header("PaxHeader/" + m.name.substr(0, 80), 'x', records.size(), "", 0644);
      out += records;
      pad_block(out);
    }
    out += tar_header(m.name, m.type, m.declared.value_or(m.content.size()), m.link_target,
                      m.type == '5' ? 0755 : m.mode);
    out += m.content;
    pad_block(out);
  }
  if (!unterminated) out.append(1024, '\0');
  return out;
}

std::vector<ZipDirectoryEntry> read_zip_directory(const std::string& zip) {
  auto u16 = [&](std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(zip.at(at)) |
                                      static_cast<unsigned char>(zip.at(at + 1)) << 8);
  };
  auto u32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(u16(at)) | static_cast<std::uint32_t>(u16(at + 2)) << 16;
  };
  std::vector<ZipDirectoryEntry> entries;
  if (zip.size() < 22 || u32(zip.size() - 22) != 0x06054b50) {
    ADD_FAILURE() << "no end of central directory record";
    return entries;
  }
  const std::size_t count = u16(zip.size() - 22 + 10);
  std::size_t at = u32(zip.size() - 22 + 16);
  for (std::size_t i = 0; i < count; ++i) {
    if (u32(at) != 0x02014b50) {
      ADD_FAILURE() << "bad central directory record " << i;
      break;
    }
    ZipDirectoryEntry e;
    e.version_needed = u16(at + 6);
    e.flags = u16(at + 8);
    e.method = u16(at + 10);
    e.dos_time = u16(at + 12);
    e.dos_date = u16(at + 14);
    const std::size_t name_length = u16(at + 28);
    const std::size_t extra_length = u16(at + 30);
    const std::size_t comment_length = u16(at + 32);
    e.external_attributes = u32(at + 38);
    e.name = zip.substr(at + 46, name_length);
    e.extra = zip.substr(at + 46 + name_length, extra_length);
    entries.push_back(std::move(e));
    at += 46 + name_length + extra_length + comment_length;
  }
  return entries;
}

int run_command(const std::string& command) {
  const int status = std::system(command.c_str());
  if (status == -1 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace files::archive_ops::testing
