#include "model/entry_sort.h"

#include <unicode/ucasemap.h>

#include <algorithm>
#include <compare>
#include <cstdint>
#include <cstring>
#include <memory>

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

// One entry's place in the sort: its precomputed key and its index in the listing.
struct SortItem {
  std::uint64_t key0;  // Name: the first 16 bytes of the lower-cased name, big-endian;
  std::uint64_t key1;  // Size: the size; Modified and Type compare the entries themselves
  std::uint32_t index;
  bool is_dir;
};

// Folders first; then the three-way `compare` on the rest, reversed for Descending; ties keep
// the listing's order through the index, which makes the sort stable. Then moves the entries
// into place.
template <class Compare>
void sort_by(std::vector<FileEntry>& entries, std::vector<SortItem>& items, SortOrder direction,
             Compare compare) {
  const bool descending = direction == SortOrder::Descending;
  std::sort(items.begin(), items.end(), [&](const SortItem& a, const SortItem& b) {
    if (a.is_dir != b.is_dir) return a.is_dir;
    const auto order = compare(a, b);
    if (order != 0) return descending ? order > 0 : order < 0;
    return a.index < b.index;
  });
  // Apply the order in place, one cycle at a time: each entry is moved once, into a slot whose
  // value has already moved on, and no second list of entries is allocated.
  std::vector<bool> placed(entries.size(), false);
  for (std::size_t start = 0; start < items.size(); ++start) {
    if (placed[start] || items[start].index == start) continue;
    FileEntry carried = std::move(entries[start]);
    std::size_t slot = start;
    for (;;) {
      placed[slot] = true;
      const std::size_t from = items[slot].index;
      if (from == start) {
        entries[slot] = std::move(carried);
        break;
      }
      entries[slot] = std::move(entries[from]);
      slot = from;
    }
  }
}

std::uint64_t big_endian_at(std::string_view key, std::size_t offset) {
  std::uint64_t value = 0;
  for (std::size_t b = offset; b < offset + 8; ++b) {
    value = (value << 8) | (b < key.size() ? static_cast<unsigned char>(key[b]) : 0u);
  }
  return value;
}

}  // namespace

std::string name_sort_key(std::string_view name) {
  std::string out;
  append_lower(name, out);
  return out;
}

void sort_entries(std::vector<FileEntry>& entries, SortKey key, SortOrder order) {
  std::vector<SortItem> items(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    items[i] = SortItem{0, 0, static_cast<std::uint32_t>(i), entries[i].is_dir};
  }
  switch (key) {
    case SortKey::Name: {
      // Each key is computed once, into one buffer. Names that differ in their first 16
      // lower-cased bytes never look at the buffer again; a NUL pad sorts a shorter name
      // first, and names hold no NUL bytes.
      std::string keys;
      std::size_t name_bytes = 0;
      for (const auto& entry : entries)
        name_bytes += entry.name.size();
      keys.reserve(name_bytes + name_bytes / 4);
      std::vector<std::uint32_t> offsets(entries.size() + 1);
      for (std::size_t i = 0; i < entries.size(); ++i) {
        offsets[i] = static_cast<std::uint32_t>(keys.size());
        append_lower(entries[i].name, keys);
        const std::string_view k(keys.data() + offsets[i], keys.size() - offsets[i]);
        items[i].key0 = big_endian_at(k, 0);
        items[i].key1 = big_endian_at(k, 8);
      }
      offsets[entries.size()] = static_cast<std::uint32_t>(keys.size());
      sort_by(entries, items, order, [&](const SortItem& a, const SortItem& b) {
        if (a.key0 != b.key0) return a.key0 <=> b.key0;
        if (a.key1 != b.key1) return a.key1 <=> b.key1;
        const std::size_t ia = a.index, ib = b.index;
        const std::string_view ka(keys.data() + offsets[ia], offsets[ia + 1] - offsets[ia]);
        const std::string_view kb(keys.data() + offsets[ib], offsets[ib + 1] - offsets[ib]);
        return ka <=> kb;
      });
      return;
    }
    case SortKey::Size:
      for (auto& item : items)
        item.key0 = entries[item.index].size;
      sort_by(entries, items, order,
              [](const SortItem& a, const SortItem& b) { return a.key0 <=> b.key0; });
      return;
    case SortKey::Modified:
      // An absent time is smaller than any present one, as std::optional compares.
      sort_by(entries, items, order, [&](const SortItem& a, const SortItem& b) {
        return entries[a.index].modified <=> entries[b.index].modified;
      });
      return;
    case SortKey::Type:
      sort_by(entries, items, order, [&](const SortItem& a, const SortItem& b) {
        return entries[a.index].mime_type <=> entries[b.index].mime_type;
      });
      return;
  }
}

}  // namespace files::model
