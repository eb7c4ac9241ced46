#include <gtest/gtest.h>

#include <QString>

#include "pane/CodePageText.h"

TEST(CodePage, EveryByteFromOneTo255RoundTrips) {
  std::string bytes;
  for (int byte = 1; byte < 256; ++byte) bytes += char(byte);
  const QString text = TCodePageText::Decode(bytes);
  ASSERT_EQ(text.size(), 255);
  EXPECT_EQ(TCodePageText::Encode(text), bytes);
  EXPECT_EQ(text[0x80 - 1], QChar(0x20AC));
  EXPECT_EQ(text[0x9F - 1], QChar(0x0178));
  for (const int unassigned : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
    EXPECT_EQ(text[unassigned - 1], QChar(unassigned));
}

TEST(CodePage, CharactersOutsideBecomeOneDecimalReferenceEach) {
  EXPECT_EQ(TCodePageText::Encode(QString::fromUtf8("a\u20AC\u00E9")), "a\x80\xE9");
  EXPECT_EQ(TCodePageText::Encode(QString::fromUtf8("\u4E2D")), "&#20013;");
  EXPECT_EQ(TCodePageText::Encode(QString::fromUtf8("x\U0001F600y")), "x&#128512;y");
  // U+0080 is not what byte 0x80 stands for, and a NUL never reaches the text.
  EXPECT_EQ(TCodePageText::Encode(QString(QChar(0x80))), "&#128;");
  EXPECT_EQ(TCodePageText::Encode(QString(QChar(0))), "&#0;");
  EXPECT_EQ(TCodePageText::Encode(QString(QChar(0xD800))), "&#55296;");
}

TEST(CodePage, ParagraphSeparatorIsCrLf) {
  EXPECT_EQ(TCodePageText::Encode(QString("a") + QChar::ParagraphSeparator + "b"), "a\r\nb");
}
