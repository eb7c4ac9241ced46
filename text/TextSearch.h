#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// The find dialog's search of a text field's 8-bit text, as the field's selection and the
// dialog's options set it up:
// - down, the first match after the selection, up, the last one that ends before it; no
//   wrap-around;
// - case folded through the code page's upper case unless it must match;
// - whole word: a match begins a word, after a delimiter and never at the text's start, strictly
//   after the selection's end going down, and the byte after it is a delimiter or the text's end.
// A delimiter is every byte but 0-9, A-Z and a-z.
struct TSearchOptions {
  bool Down = true;
  bool MatchCase = false;
  bool WholeWord = false;
};

bool IsWordDelimiter(unsigned char byte) noexcept;

// The position of the match, or none.
std::optional<std::size_t> SearchText(std::string_view text, std::size_t selStart, std::size_t selLength,
                                      std::string_view findText, const TSearchOptions& options);
