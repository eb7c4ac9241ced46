#include <gtest/gtest.h>

#include <string>

#include "text/TextEncoding.h"

namespace {

constexpr TTextEncoding Utf8 = TTextEncoding::Utf8, Windows1252 = TTextEncoding::Windows1252;

// Valid UTF-8 ("café") after each declaration, so that only the declaration can make it
// Windows-1252; "caf\xE9" is the same word in Windows-1252 and not UTF-8.
const std::string Cafe = "caf\xC3\xA9", Cafe1252 = "caf\xE9";

TEST(TextEncoding, DecidesFromTheMarkTheDeclarationAndTheBytes) {
  struct TCase {
    std::string Bytes;
    TTextEncoding Expected;
    bool ByteOrderMark;
  } cases[] = {
      {"\xEF\xBB\xBF" + Cafe, Utf8, true},
      {"\xEF\xBB\xBF", Utf8, true},
      {"\xEF\xBB\xBF" + Cafe1252, Windows1252, false},  // the mark is then text like the rest
      {"\xEF\xBB\xBF<meta charset=windows-1252>" + Cafe, Utf8, true},
      {"\xEF\xBB", Windows1252, false},
      {"", Utf8, false},
      {"plain <b>ASCII</b>", Utf8, false},
      {Cafe, Utf8, false},
      {Cafe1252, Windows1252, false},
      {"<meta charset=\"utf-8\">" + Cafe, Utf8, false},
      {"<meta charset=\"utf-8\">" + Cafe1252, Windows1252, false},  // declared, but not UTF-8
      {"<meta charset=utf8>caf\xC3\xA9\xE9", Windows1252, false},
      {"<meta charset=\"windows-1252\">" + Cafe, Windows1252, false},
      {"<meta charset='cp1252'>" + Cafe, Windows1252, false},
      {"<META CHARSET = ISO-8859-1>" + Cafe, Windows1252, false},
      {"<meta\ncharset=\" Latin1 \"/>" + Cafe, Windows1252, false},
      {"<meta charset=us-ascii>" + Cafe, Windows1252, false},
      {"<meta charset=ANSI_X3.4-1968>" + Cafe, Windows1252, false},
      {"<meta charset=x-cp1252>" + Cafe, Windows1252, false},
      {"<meta charset=l1>" + Cafe, Windows1252, false},
      {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">" + Cafe, Windows1252,
       false},
      {"<meta content='text/html;CHARSET=iso8859-1' HTTP-EQUIV='content-type'>" + Cafe, Windows1252, false},
      {"<Meta Http-Equiv = Content-Type Content = \"text/html; charset = 'latin-1'\">" + Cafe, Windows1252,
       false},
      {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">" + Cafe1252, Windows1252,
       false},
      {"<meta http-equiv=Content-Type content=\"text/html; charsets; charset=cp1252\">" + Cafe, Windows1252,
       false},
      {"<meta http-equiv=\"Content-Type\" content=\"text/html\">" + Cafe, Utf8, false},
      {"<meta http-equiv=\"refresh\" content=\"0; charset=windows-1252\">" + Cafe, Utf8, false},
      {"<meta name=\"x\" content=\"charset=windows-1252\">" + Cafe, Utf8, false},
      {"<meta charset=\"shift_jis\">" + Cafe, Utf8, false},  // another charset is passed over
      {"<meta charset=\"shift_jis\">" + Cafe1252, Windows1252, false},
      {"<meta charset=shift_jis><meta charset=windows-1252>" + Cafe, Utf8, false},  // the first counts
      {"<meta charset=utf-8><meta charset=windows-1252>" + Cafe, Utf8, false},
      {"<meta charset=windows-1252 charset=utf-8>" + Cafe, Windows1252, false},
      {"<meta name=viewport content=\"width=device-width\"><meta charset=windows-1252>" + Cafe, Windows1252,
       false},
      {"<metadata charset=windows-1252>" + Cafe, Utf8, false},
      {"<meta name='<meta charset=windows-1252>'>" + Cafe, Utf8, false},  // a tag is read once, whole
      {"<!-- <meta charset=windows-1252> --><p>" + Cafe, Utf8, false},
      {"<!-- x --><meta charset=windows-1252>" + Cafe, Windows1252, false},
      {"<!-- <meta charset=windows-1252>" + Cafe, Utf8, false},  // a comment never closed
      {std::string(1024, ' ') + "<meta charset=windows-1252>" + Cafe, Utf8, false},
      {std::string(1023, ' ') + "<meta charset=windows-1252>" + Cafe, Windows1252, false},
      {std::string(1000, ' ') + "<meta name=x" + std::string(100, ' ') + "charset=windows-1252>" + Cafe,
       Windows1252, false},  // a tag that begins within the first 1024 bytes counts whole
  };
  for (const TCase& c : cases) {
    const TEncodingDecision decision = DecideEncoding(c.Bytes);
    EXPECT_EQ(decision.Encoding, c.Expected) << c.Bytes;
    EXPECT_EQ(decision.ByteOrderMark, c.ByteOrderMark) << c.Bytes;
  }
}

TEST(TextEncoding, AcceptsOnlyStrictUtf8) {
  const std::string valid[] = {
      "",
      std::string(1, '\0'),
      "\x7F",              // U+007F
      "\xC2\x80",          // U+0080
      "\xDF\xBF",          // U+07FF
      "\xE0\xA0\x80",      // U+0800
      "\xED\x9F\xBF",      // U+D7FF, before the surrogates
      "\xEE\x80\x80",      // U+E000, after them
      "\xEF\xBF\xBF",      // U+FFFF
      "\xF0\x90\x80\x80",  // U+10000
      "\xF4\x8F\xBF\xBF",  // U+10FFFF
      "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z",
  };
  for (const std::string& bytes : valid) EXPECT_TRUE(IsValidUtf8(bytes)) << bytes;
  const std::string invalid[] = {
      "\x80",  // a continuation alone
      "\xBF",
      "a\x80z",
      "\xC0\x80",  // overlong
      "\xC1\xBF",
      "\xE0\x80\x80",
      "\xE0\x9F\xBF",
      "\xF0\x80\x80\x80",
      "\xF0\x8F\xBF\xBF",
      "\xED\xA0\x80",  // surrogates
      "\xED\xBF\xBF",
      "\xF4\x90\x80\x80",  // above U+10FFFF
      "\xF5\x80\x80\x80",
      "\xF8\x88\x80\x80\x80",
      "\xFE",
      "\xFF",
      "\xC3",  // truncated at the end
      "\xE2\x82",
      "\xF0\x9F\x98",
      "\xC3z",  // a continuation missing
      "\xE2\x28\xA1",
      "\xF0\x9F\x98z",
      "\xC3\xA9\xA9",  // one continuation too many
  };
  for (const std::string& bytes : invalid) EXPECT_FALSE(IsValidUtf8(bytes)) << bytes;
  EXPECT_FALSE(IsValidUtf8(std::string_view("\xC3\xA9", 1)));  // a character cut off, not the bytes after
  EXPECT_FALSE(IsValidUtf8(std::string_view("\xF0\x9F\x98\x80", 3)));
  // A long ASCII run is checked many bytes at a time; a byte in it must still be seen wherever it
  // falls, and a character across two of those steps still read whole.
  for (std::size_t at = 0; at < 64; ++at) {
    std::string bytes(64, 'a');
    bytes[at] = '\x80';
    EXPECT_FALSE(IsValidUtf8(bytes)) << at;
    bytes[at] = '\xFF';
    EXPECT_FALSE(IsValidUtf8(bytes)) << at;
    bytes[at] = '\xC3';
    EXPECT_FALSE(IsValidUtf8(bytes)) << at;
    if (at + 1 < bytes.size()) {
      bytes[at + 1] = '\xA9';
      EXPECT_TRUE(IsValidUtf8(bytes)) << at;
      EXPECT_FALSE(IsValidUtf8(bytes + "\xF4\x90\x80\x80" + std::string(20, 'b'))) << at;
    }
  }
}

}  // namespace
