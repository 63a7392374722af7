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

// Lower-cases `name` into `out` without ICU when every character is ASCII or from Latin-1
// (most Western names): there the full mapping is +0x20 for A-Z and U+00C0..U+00DE except
// U+00D7, and nothing else in the block changes. False (and `out` unchanged) otherwise.
bool append_lower_latin1(std::string_view name, std::string& out) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x80) continue;
    if ((c != 0xC2 && c != 0xC3) || i + 1 >= name.size()) return false;
    const auto next = static_cast<unsigned char>(name[i + 1]);
    if (next < 0x80 || next > 0xBF) return false;
    ++i;
  }
  const std::size_t at = out.size();
  out.resize(at + name.size());
  char* dst = out.data() + at;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c >= 'A' && c <= 'Z') {
      dst[i] = static_cast<char>(c + 0x20);
    } else if (c == 0xC3) {
      const auto next = static_cast<unsigned char>(name[i + 1]);
      dst[i] = name[i];
      dst[i + 1] =
          static_cast<char>(next >= 0x80 && next <= 0x9E && next != 0x97 ? next + 0x20 : next);
      ++i;
    } else {
      dst[i] = name[i];
    }
  }
  return true;
}

// Appends the lower-case mapping of `name` to `out`.
void append_lower(std::string_view name, std::string& out) {
  if (append_lower_latin1(name, out)) return;
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

// Asks for the cache lines of one entry before it is read.
void prefetch_entry(const FileEntry& entry) {
  const char* bytes = reinterpret_cast<const char*>(&entry);
  for (std::size_t line = 0; line < sizeof(FileEntry); line += 64) {
    __builtin_prefetch(bytes + line);
  }
}

// One entry's place in the sort: its precomputed key and its index in the listing.
struct SortItem {
  std::uint64_t key0;  // Name: the first 16 bytes of the lower-cased name, big-endian;
  std::uint64_t key1;  // Size: the size; Modified and Type compare the entries themselves
  std::uint32_t index;
  bool is_dir;
};

// Folders first; then the three-way `compare` within each group, reversed for Descending; ties
// keep the listing's order through the index, which makes the sort stable. Then moves the entries
// into place.
template <class Compare>
void sort_by(std::vector<FileEntry>& entries, std::vector<SortItem>& items, SortOrder direction,
             Compare compare) {
  const bool descending = direction == SortOrder::Descending;
  auto less = [&](const SortItem& a, const SortItem& b) {
    const auto order = compare(a, b);
    if (order != 0) return descending ? order > 0 : order < 0;
    return a.index < b.index;
  };
  const auto files_begin =
      std::stable_partition(items.begin(), items.end(), [](const SortItem& i) { return i.is_dir; });
  std::sort(items.begin(), files_begin, less);
  std::sort(files_begin, items.end(), less);
  // Entries are large and scattered once sorted, so the reads ahead are prefetched: a list of
  // 100,000 entries otherwise spends most of its sort waiting for memory.
  std::vector<FileEntry> sorted;
  sorted.reserve(entries.size());
  constexpr std::size_t kAhead = 8;
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (k + kAhead < items.size()) prefetch_entry(entries[items[k + kAhead].index]);
    sorted.push_back(std::move(entries[items[k].index]));
  }
  entries.swap(sorted);
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
        if (i + 8 < entries.size()) __builtin_prefetch(entries[i + 8].name.data());
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
