#include "services/IntegerText.h"

#include <cstdint>
#include <optional>

#include "services/VornError.h"

namespace {

int DigitValue(QChar c) {
  if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return c.unicode() - '0';
  if (c >= QLatin1Char('a') && c <= QLatin1Char('f')) return c.unicode() - 'a' + 10;
  if (c >= QLatin1Char('A') && c <= QLatin1Char('F')) return c.unicode() - 'A' + 10;
  return 99;
}

// Hexadecimal texts cover the 32-bit pattern ("$FFFFFFFF" is -1); decimal ones the int range.
std::optional<int> Convert(const QString& text) {
  int i = 0;
  const int n = text.size();
  while (i < n && text[i] == QLatin1Char(' ')) ++i;
  bool negative = false;
  if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
    negative = text[i++] == QLatin1Char('-');
  int base = 10;
  if (i < n && text[i] == QLatin1Char('$')) {
    base = 16;
    ++i;
  } else if (i + 1 < n && text[i] == QLatin1Char('0') &&
             (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
    base = 16;
    i += 2;
  }
  if (i == n) return std::nullopt;
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t value = 0;
  for (; i < n; ++i) {
    const int digit = DigitValue(text[i]);
    if (digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  const auto bits = static_cast<std::uint32_t>(negative ? 0u - value : value);
  return static_cast<std::int32_t>(bits);
}

}  // namespace

int StrToIntDef(const QString& text, int fallback) { return Convert(text).value_or(fallback); }

int StrToInt(const QString& text) {
  if (const auto value = Convert(text)) return *value;
  throw EVornError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}
