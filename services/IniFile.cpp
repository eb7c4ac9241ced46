#include "IniFile.h"

#include <SimpleIni.h>

#include "IntegerText.h"
#include "RegularFile.h"
#include "VornError.h"

namespace {
constexpr qsizetype kMaxValueLength = 2047;
}

struct TIniFile::TData {
  CSimpleIniA Ini{false};  // names whatever their case; 8-bit text kept as it is
};

TIniFile::TIniFile(const QString& path) : FPath(path), FData(std::make_unique<TData>()) {
  FData->Ini.SetSpaces(false);
  if (const std::optional<QByteArray> bytes = TRegularFile::Read(path))
    FData->Ini.LoadData(bytes->constData(), std::size_t(bytes->size()));
}

TIniFile::~TIniFile() = default;

QString TIniFile::ReadString(const char* section, const char* key, const QString& fallback) const {
  const char* value = FData->Ini.GetValue(section, key, nullptr);
  return value != nullptr ? QString::fromLatin1(value).left(kMaxValueLength) : fallback;
}

int TIniFile::ReadInteger(const char* section, const char* key, int fallback) const {
  return StrToIntDef(ReadString(section, key, QString()), fallback);
}

void TIniFile::WriteString(const char* section, const char* key, const QString& value) {
  FData->Ini.SetValue(section, key, value.toLatin1().constData());
}

void TIniFile::WriteInteger(const char* section, const char* key, int value) {
  WriteString(section, key, QString::number(value));
}

void TIniFile::UpdateFile() {
  std::string bytes;
  try {
    if (FData->Ini.Save(bytes) < 0) throw EVornError(FPath);
    TRegularFile::Write(FPath, bytes);
  } catch (const EVornError&) {
    throw EVornError("Unable to write to " + FPath);
  }
}
