#include "native_observer/snapshot.h"

#include <openssl/evp.h>

#include <cassert>
#include <memory>
#include <nlohmann/json.hpp>

namespace files::native_observer {
namespace {

std::string_view mode_name(model::ViewMode mode) {
  return mode == model::ViewMode::Grid ? "Grid" : "List";
}

std::string_view key_name(model::SortKey key) {
  switch (key) {
    case model::SortKey::Name:
      return "Name";
    case model::SortKey::Size:
      return "Size";
    case model::SortKey::Modified:
      return "Modified";
    case model::SortKey::Type:
      return "Type";
  }
  return "Name";
}

nlohmann::json rect_json(const vask_ui::Rect& r) {
  return nlohmann::json::array({r.x0, r.y0, r.x1, r.y1});
}

}  // namespace

std::string order_hash(std::span<const model::FileEntry> entries) {
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  // Digest set-up only fails when the process is out of memory.
  assert(ctx && "out of memory for the digest context");
  EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr);
  for (const model::FileEntry& entry : entries) {
    std::uint64_t length = entry.name.size();
    unsigned char prefix[8];
    for (int i = 7; i >= 0; --i) {
      prefix[i] = static_cast<unsigned char>(length & 0xFF);
      length >>= 8;
    }
    EVP_DigestUpdate(ctx.get(), prefix, sizeof prefix);
    EVP_DigestUpdate(ctx.get(), entry.name.data(), entry.name.size());
    unsigned char folder = entry.is_dir ? 1 : 0;
    EVP_DigestUpdate(ctx.get(), &folder, 1);
  }
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_DigestFinal_ex(ctx.get(), digest, &size);
  static constexpr char hex[] = "0123456789abcdef";
  std::string out;
  for (unsigned int i = 0; i < size; ++i) {
    out.push_back(hex[digest[i] >> 4]);
    out.push_back(hex[digest[i] & 0xF]);
  }
  return out;
}

std::string snapshot_json(const SnapshotInput& in) {
  nlohmann::json names = nlohmann::json::array();
  for (std::size_t index : in.selected) {
    if (index < in.entries.size()) names.push_back(in.entries[index].name);
  }
  bool has_area = in.viewport_rect && !in.viewport_rect->is_empty();
  nlohmann::json j = {
      {"app", "so.vask.file-explorer"},
      {"view_id", "file_view"},
      {"directory", in.directory},
      {"entry_count", in.entries.size()},
      {"order_hash", order_hash(in.entries)},
      {"hash_algorithm", "sha256"},
      {"ready", !in.loading && !in.has_error && has_area},
      {"is_loading", in.loading},
      {"has_error", in.has_error},
      {"thumbnail_pending", in.thumbnail_pending},
      {"selected_indices", in.selected},
      {"selected_names", names},
      {"primary_index", in.primary ? nlohmann::json(*in.primary) : nlohmann::json(nullptr)},
      {"offset_x", in.offset_x},
      {"offset_y", in.offset_y},
      {"offset_units", "pixels"},
      {"last_cursor", in.last_cursor ? nlohmann::json::array({in.last_cursor->x, in.last_cursor->y})
                                     : nlohmann::json(nullptr)},
      {"root_rect", rect_json(in.root_rect)},
      {"viewport_rect", in.viewport_rect ? rect_json(*in.viewport_rect) : nlohmann::json(nullptr)},
      {"content_rect", in.content_rect ? rect_json(*in.content_rect) : nlohmann::json(nullptr)},
      {"view_mode", mode_name(in.view_mode)},
      {"sort_by", key_name(in.sort_by)},
      {"sort_order", in.sort_order == model::SortOrder::Descending ? "Descending" : "Ascending"},
  };
  // Names are lossy UTF-8 already; replacing keeps a stray byte from failing the request.
  return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace files::native_observer
