#include "utf8.h"

namespace vask_ui::utf8 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

std::size_t sequence_length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

/// Characters that never stand alone on screen: they attach to the one before them.
bool extends_previous(char32_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
         (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) ||
         (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xFE20 && c <= 0xFE2F) || c == 0x200D ||
         (c >= 0x1F3FB && c <= 0x1F3FF) || (c >= 0xE0100 && c <= 0xE01EF);
}

bool is_start_byte(unsigned char c) {
  return (c & 0xC0) != 0x80;
}

std::size_t previous_code_point(std::string_view text, std::size_t pos) {
  if (pos == 0) return 0;
  std::size_t p = pos - 1;
  while (p > 0 && !is_start_byte(static_cast<unsigned char>(text[p])) && pos - p < 4)
    --p;
  return p;
}

}  // namespace

char32_t decode(std::string_view text, std::size_t pos, std::size_t* length) {
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  auto set_length = [&](std::size_t n) {
    if (length != nullptr) *length = n;
  };
  if (pos >= text.size()) {
    set_length(0);
    return 0;
  }
  auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t n = sequence_length(lead);
  if (n == 0 || pos + n > text.size()) {
    set_length(1);
    return kReplacement;
  }
  if (n == 1) {
    set_length(1);
    return lead;
  }
  char32_t cp = lead & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    auto next = static_cast<unsigned char>(text[pos + k]);
    if ((next & 0xC0) != 0x80) {
      set_length(k);
      return kReplacement;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  set_length(n);
  if (cp < kSmallest[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
  return cp;
}

bool is_valid(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t n = 0;
    char32_t cp = decode(text, pos, &n);
    if (cp == kReplacement && text.substr(pos, n) != "\xEF\xBF\xBD") return false;
    pos += n;
  }
  return true;
}

std::size_t next_stop(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return text.size();
  std::size_t n = 0;
  char32_t cp = decode(text, pos, &n);
  pos += n;
  bool joined = cp == 0x200D;
  while (pos < text.size()) {
    char32_t next = decode(text, pos, &n);
    if (!extends_previous(next) && !joined) break;
    joined = next == 0x200D;
    pos += n;
  }
  return pos;
}

std::size_t previous_stop(std::string_view text, std::size_t pos) {
  if (pos == 0) return 0;
  if (pos > text.size()) pos = text.size();
  std::size_t p = previous_code_point(text, pos);
  while (p > 0) {
    char32_t cp = decode(text, p);
    std::size_t before = previous_code_point(text, p);
    char32_t prev = decode(text, before);
    if (!extends_previous(cp) && prev != 0x200D) break;
    p = before;
  }
  return p;
}

bool is_word_char(char32_t c) {
  if (c < 0x80) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  }
  // General punctuation, spaces and symbols that separate words in Latin text.
  if (c == 0xA0 || (c >= 0x2000 && c <= 0x206F) || c == 0x3000 || c == 0x3001 || c == 0x3002 ||
      c == 0xFEFF || (c >= 0xA1 && c <= 0xBF && c != 0xAA && c != 0xB5 && c != 0xBA) || c == 0xD7 ||
      c == 0xF7) {
    return false;
  }
  return true;
}

std::size_t next_word_end(std::string_view text, std::size_t pos) {
  while (pos < text.size() && !is_word_char(decode(text, pos)))
    pos = next_stop(text, pos);
  while (pos < text.size() && is_word_char(decode(text, pos)))
    pos = next_stop(text, pos);
  return pos;
}

std::size_t previous_word_start(std::string_view text, std::size_t pos) {
  while (pos > 0) {
    std::size_t p = previous_stop(text, pos);
    if (is_word_char(decode(text, p))) break;
    pos = p;
  }
  while (pos > 0) {
    std::size_t p = previous_stop(text, pos);
    if (!is_word_char(decode(text, p))) break;
    pos = p;
  }
  return pos;
}

void word_at(std::string_view text, std::size_t pos, std::size_t& begin, std::size_t& end) {
  if (text.empty()) {
    begin = end = 0;
    return;
  }
  if (pos >= text.size()) pos = previous_stop(text, text.size());
  bool word = is_word_char(decode(text, pos));
  if (!word) {
    begin = pos;
    end = next_stop(text, pos);
    return;
  }
  begin = pos;
  while (begin > 0) {
    std::size_t p = previous_stop(text, begin);
    if (!is_word_char(decode(text, p))) break;
    begin = p;
  }
  end = pos;
  while (end < text.size() && is_word_char(decode(text, end)))
    end = next_stop(text, end);
}

}  // namespace vask_ui::utf8
