#pragma once

// Internal to the toolkit: UTF-8 walking for text fields and the opener.

#include <cstddef>
#include <string_view>

namespace vask_ui::utf8 {

/// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values past
/// U+10FFFF).
bool is_valid(std::string_view text);

/// Decodes the code point that starts at byte `pos` (U+FFFD for a malformed sequence).
char32_t decode(std::string_view text, std::size_t pos, std::size_t* length = nullptr);

/// The byte offset of the next caret stop after `pos`: one user-perceived character, so
/// combining marks, variation selectors and joined emoji move with their base.
std::size_t next_stop(std::string_view text, std::size_t pos);
/// The byte offset of the caret stop before `pos`.
std::size_t previous_stop(std::string_view text, std::size_t pos);

/// Letters, digits, '_' and other non-ASCII characters that are not spaces or punctuation.
bool is_word_char(char32_t c);
/// The end of the word after `pos` (skipping the spaces and punctuation before it).
std::size_t next_word_end(std::string_view text, std::size_t pos);
/// The start of the word before `pos` (skipping the spaces and punctuation after it).
std::size_t previous_word_start(std::string_view text, std::size_t pos);
/// The run of word characters (or the single other character) around `pos`, as [begin, end).
void word_at(std::string_view text, std::size_t pos, std::size_t& begin, std::size_t& end);

}  // namespace vask_ui::utf8
