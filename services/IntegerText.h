#pragma once

#include <QString>

// Converts an integer text: leading blanks, an optional sign, then decimal digits or
// hexadecimal digits after "$", "0x" or "0X". The whole text must convert, else
// "'%s' is not a valid integer value" is raised.
int StrToInt(const QString& text);
// The same conversion; a text that does not convert gives the fallback.
int StrToIntDef(const QString& text, int fallback);
