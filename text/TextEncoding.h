#pragma once

#include <cstddef>
#include <string_view>

// The two encodings a document's bytes are read as. A file is never converted: it is held as the
// bytes it was read as, and saved back the same way.
enum class TTextEncoding { Windows1252, Utf8 };

struct TEncodingDecision {
  TTextEncoding Encoding = TTextEncoding::Utf8;
  bool ByteOrderMark = false;  // the bytes begin with EF BB BF and are read as UTF-8: the mark is not text
};

// In this order: a byte-order mark before valid UTF-8; the first charset a <meta> tag declares
// within the first 1024 bytes, when it is one of the two and the bytes bear it out; valid UTF-8;
// else Windows-1252, which reads any bytes.
TEncodingDecision DecideEncoding(std::string_view bytes);

// Strict UTF-8: no overlong form, no surrogate, nothing above U+10FFFF, no truncated character.
bool IsValidUtf8(std::string_view bytes) noexcept;

const char* EncodingName(TTextEncoding encoding) noexcept;  // shown to the user
const char* CharsetName(TTextEncoding encoding) noexcept;   // for a Content-Type

// The length of the valid UTF-8 character that begins at `at`, or 0 when none does.
std::size_t Utf8CharacterLength(std::string_view bytes, std::size_t at) noexcept;

// Writes the UTF-8 bytes of a code point (at most U+10FFFF) at out; returns how many, 1 to 4.
std::size_t EncodeUtf8(char32_t character, char* out) noexcept;

// The first byte above 127 at or after `from`, or the size when there is none.
std::size_t EndOfAscii(std::string_view bytes, std::size_t from) noexcept;
