#include <gtest/gtest.h>

#include "services/IntegerText.h"
#include "services/VornError.h"

namespace {

QString ConversionFailure(const QString& text) {
  try {
    StrToInt(text);
  } catch (const EVornError& error) {
    return error.Message();
  }
  return {};
}

TEST(IntegerText, ConvertsDecimalAndHexadecimalWithSignAndLeadingBlanks) {
  EXPECT_EQ(StrToInt("5"), 5);
  EXPECT_EQ(StrToInt("  -1"), -1);
  EXPECT_EQ(StrToInt("+12"), 12);
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_EQ(StrToInt("0x10"), 16);
  EXPECT_EQ(StrToInt("0X10"), 16);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(IntegerText, RefusesTextThatDoesNotConvertWhole) {
  for (const char* bad : {"abc", "", " ", "5 ", "1x", "$", "0x", "-", "2147483648", "$100000000", "1.5"})
    EXPECT_EQ(ConversionFailure(bad), QStringLiteral("'%1' is not a valid integer value").arg(bad));
}

TEST(IntegerText, WithAFallbackATextThatDoesNotConvertGivesTheFallback) {
  EXPECT_EQ(StrToIntDef("0x200", 0), 512);
  EXPECT_EQ(StrToIntDef(" -7", 0), -7);
  for (const char* bad : {"", "abc", "5 ", "2147483648"}) EXPECT_EQ(StrToIntDef(bad, 3), 3) << bad;
}

}  // namespace
