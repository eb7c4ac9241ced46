#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "text/TextEncoding.h"

// The find dialog's search of a text field's bytes, as the field's selection and the dialog's
// options set it up:
// - down, the first match after the selection, up, the last one that ends before it; no
//   wrap-around;
// - case folded unless it must match: through the code page's upper case in Windows-1252, through
//   each character's simple upper case in UTF-8;
// - whole word: a match begins a word, after a delimiter and never at the text's start, strictly
//   after the selection's end going down, and the byte after it is a delimiter or the text's end.
// A delimiter is every byte but 0-9, A-Z and a-z, so every byte of a UTF-8 character beyond ASCII
// is one. In UTF-8 a match begins and ends between characters, and a byte that is not valid UTF-8
// is a character of its own.
struct TSearchOptions {
  bool Down = true;
  bool MatchCase = false;
  bool WholeWord = false;
  TTextEncoding Encoding = TTextEncoding::Windows1252;
};

bool IsWordDelimiter(unsigned char byte) noexcept;

// The bytes of the text a match covers: in UTF-8 as long as the characters it folds from, which
// may differ from the pattern's length (ı matches I).
struct TSearchMatch {
  std::size_t Start;
  std::size_t Length;
};
std::optional<TSearchMatch> SearchMatch(std::string_view text, std::size_t selStart, std::size_t selLength,
                                        std::string_view findText, const TSearchOptions& options);

// The byte position of the match in the text, or none.
std::optional<std::size_t> SearchText(std::string_view text, std::size_t selStart, std::size_t selLength,
                                      std::string_view findText, const TSearchOptions& options);
