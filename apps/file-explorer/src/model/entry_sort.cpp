#include "model/entry_sort.h"

#include <unicode/ucasemap.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <numeric>

namespace files::model {
namespace {

struct CaseMapCloser {
  void operator()(UCaseMap* map) const { ucasemap_close(map); }
};

UCaseMap* case_map() {
  thread_local std::unique_ptr<UCaseMap, CaseMapCloser> map = [] {
    UErrorCode status = U_ZERO_ERROR;
    // The root locale: no language-specific rules (Turkish dotless i and the like).
    return std::unique_ptr<UCaseMap, CaseMapCloser>(ucasemap_open("", 0, &status));
  }();
  return map.get();
}

// Appends the lower-case mapping of `name` to `out`.
void append_lower(std::string_view name, std::string& out) {
  const bool ascii = std::all_of(name.begin(), name.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) {
    for (char c : name)
      out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
    return;
  }
  UCaseMap* map = case_map();
  const std::size_t start = out.size();
  // Lower-casing grows UTF-8 text by at most 3/2 (U+0130 "İ" takes 2 bytes and maps to 3).
  std::size_t capacity = name.size() * 3 / 2 + 4;
  for (int attempt = 0; map != nullptr && attempt < 2; ++attempt) {
    out.resize(start + capacity);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = ucasemap_utf8ToLower(map, out.data() + start, static_cast<int32_t>(capacity),
                                           name.data(), static_cast<int32_t>(name.size()), &status);
    if (U_SUCCESS(status)) {
      out.resize(start + static_cast<std::size_t>(n));
      return;
    }
    if (status != U_BUFFER_OVERFLOW_ERROR) break;
    capacity = static_cast<std::size_t>(n);
  }
  // Names are lossy UTF-8 already, so ICU accepts them; keep the bytes if it ever does not.
  out.resize(start);
  out.append(name);
}

// Sorts `order` (indices into entries) stably with folders first and `less` on the rest,
// reversed for Descending, then moves the entries into that order.
template <class Less>
void sort_by(std::vector<FileEntry>& entries, std::vector<std::uint32_t>& order,
             SortOrder direction, Less less) {
  const auto folders_end = std::stable_partition(
      order.begin(), order.end(), [&](std::uint32_t i) { return entries[i].is_dir; });
  auto sort_range = [&](auto first, auto last) {
    if (direction == SortOrder::Ascending) {
      std::stable_sort(first, last, less);
    } else {
      std::stable_sort(first, last, [&](std::uint32_t a, std::uint32_t b) { return less(b, a); });
    }
  };
  sort_range(order.begin(), folders_end);
  sort_range(folders_end, order.end());
  std::vector<FileEntry> sorted;
  sorted.reserve(entries.size());
  for (std::uint32_t i : order)
    sorted.push_back(std::move(entries[i]));
  entries.swap(sorted);
}

}  // namespace

std::string name_sort_key(std::string_view name) {
  std::string out;
  append_lower(name, out);
  return out;
}

void sort_entries(std::vector<FileEntry>& entries, SortKey key, SortOrder order) {
  std::vector<std::uint32_t> indices(entries.size());
  std::iota(indices.begin(), indices.end(), 0u);
  switch (key) {
    case SortKey::Name: {
      // Each key is computed once into one buffer; the first eight bytes, big-endian, decide
      // most comparisons without touching the buffer.
      std::string keys;
      std::vector<std::uint32_t> offsets(entries.size() + 1);
      std::vector<std::uint64_t> prefixes(entries.size());
      for (std::size_t i = 0; i < entries.size(); ++i) {
        offsets[i] = static_cast<std::uint32_t>(keys.size());
        append_lower(entries[i].name, keys);
        std::uint64_t prefix = 0;
        const std::size_t len = keys.size() - offsets[i];
        for (std::size_t b = 0; b < 8; ++b) {
          prefix <<= 8;
          if (b < len) prefix |= static_cast<unsigned char>(keys[offsets[i] + b]);
        }
        prefixes[i] = prefix;
      }
      offsets[entries.size()] = static_cast<std::uint32_t>(keys.size());
      sort_by(entries, indices, order, [&](std::uint32_t a, std::uint32_t b) {
        if (prefixes[a] != prefixes[b]) return prefixes[a] < prefixes[b];
        const std::string_view ka(keys.data() + offsets[a], offsets[a + 1] - offsets[a]);
        const std::string_view kb(keys.data() + offsets[b], offsets[b + 1] - offsets[b]);
        return ka < kb;
      });
      return;
    }
    case SortKey::Size:
      sort_by(entries, indices, order,
              [&](std::uint32_t a, std::uint32_t b) { return entries[a].size < entries[b].size; });
      return;
    case SortKey::Modified:
      // An absent time is smaller than any present one, as std::optional compares.
      sort_by(entries, indices, order, [&](std::uint32_t a, std::uint32_t b) {
        return entries[a].modified < entries[b].modified;
      });
      return;
    case SortKey::Type:
      sort_by(entries, indices, order, [&](std::uint32_t a, std::uint32_t b) {
        return entries[a].mime_type < entries[b].mime_type;
      });
      return;
  }
}

}  // namespace files::model
