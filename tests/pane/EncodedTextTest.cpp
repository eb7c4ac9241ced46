#include <gtest/gtest.h>

#include <QString>

#include "pane/EncodedText.h"

TEST(CodePage, EveryByteFromOneTo255RoundTrips) {
  std::string bytes;
  for (int byte = 1; byte < 256; ++byte) bytes += char(byte);
  const QString text = TEncodedText::Decode(bytes, TTextEncoding::Windows1252);
  ASSERT_EQ(text.size(), 255);
  EXPECT_EQ(TEncodedText::Encode(text, TTextEncoding::Windows1252), bytes);
  EXPECT_EQ(text[0x80 - 1], QChar(0x20AC));
  EXPECT_EQ(text[0x9F - 1], QChar(0x0178));
  for (const int unassigned : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
    EXPECT_EQ(text[unassigned - 1], QChar(unassigned));
}

TEST(CodePage, CharactersOutsideBecomeOneDecimalReferenceEach) {
  EXPECT_EQ(TEncodedText::Encode(QString::fromUtf8("a\u20AC\u00E9"), TTextEncoding::Windows1252),
            "a\x80\xE9");
  EXPECT_EQ(TEncodedText::Encode(QString::fromUtf8("\u4E2D"), TTextEncoding::Windows1252), "&#20013;");
  EXPECT_EQ(TEncodedText::Encode(QString::fromUtf8("x\U0001F600y"), TTextEncoding::Windows1252),
            "x&#128512;y");
  // U+0080 is not what byte 0x80 stands for, and a NUL never reaches the text.
  EXPECT_EQ(TEncodedText::Encode(QString(QChar(0x80)), TTextEncoding::Windows1252), "&#128;");
  EXPECT_EQ(TEncodedText::Encode(QString(QChar(0)), TTextEncoding::Windows1252), "&#0;");
  EXPECT_EQ(TEncodedText::Encode(QString(QChar(0xD800)), TTextEncoding::Windows1252), "&#55296;");
}

TEST(CodePage, ParagraphSeparatorIsCrLf) {
  EXPECT_EQ(TEncodedText::Encode(QString("a") + QChar::ParagraphSeparator + "b", TTextEncoding::Windows1252),
            "a\r\nb");
}

// UTF-8 holds every character, surrogate pairs as one of four bytes; only what no UTF-8 text
// can hold (a NUL, half a surrogate pair) becomes a reference, and the line break is CR LF.
TEST(Utf8Text, EveryCharacterIsItsOwnBytes) {
  const std::string bytes =
      "a\xC2\x80\xDF\xBF\xE0\xA0\x80\xE2\x80\x94\xEF\xBF\xBF\xF0\x90\x80\x80\xF0\x9F\x98\x80";
  const QString text = TEncodedText::Decode(bytes, TTextEncoding::Utf8);
  EXPECT_EQ(text, QString::fromUtf8(bytes.data(), qsizetype(bytes.size())));
  EXPECT_EQ(TEncodedText::Encode(text, TTextEncoding::Utf8), bytes);
  int extra = 0;
  for (const QChar unit : text) extra += TEncodedText::ExtraUtf8Bytes(unit.unicode());
  EXPECT_EQ(std::size_t(text.size() + extra), bytes.size());
  // Characters of three bytes for one unit, then ASCII to the end: more bytes than units.
  const QString wide = QString(300, QChar(0x65E5)) + QString(300, u'a');
  EXPECT_EQ(TEncodedText::Encode(wide, TTextEncoding::Utf8), wide.toStdString());
  EXPECT_EQ(TEncodedText::Encode(QString(QChar(0)), TTextEncoding::Utf8), "&#0;");
  EXPECT_EQ(TEncodedText::Encode(QString(QChar(0xD800)) + "x", TTextEncoding::Utf8), "&#55296;x");
  EXPECT_EQ(TEncodedText::Encode(QString("a") + QChar::ParagraphSeparator + "b", TTextEncoding::Utf8),
            "a\r\nb");
}
