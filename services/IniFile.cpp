#include "services/IniFile.h"

#include <SimpleIni.h>

#include <QFile>
#include <QFileInfo>

#include "services/IntegerText.h"
#include "services/RegularFile.h"
#include "services/VornError.h"
#include "services/disk/WholeFile.h"

namespace {
constexpr qsizetype MaxValueLength = 2047;

// One pair of quotes around a value is not part of it.
QString WithoutQuotes(const QString& value) {
  const bool quoted =
      value.size() >= 2 && value.front() == value.back() && (value.front() == u'"' || value.front() == u'\'');
  return quoted ? value.mid(1, value.size() - 2) : value;
}
}  // namespace

// Of a key given twice the first is the one read, as the platform's settings service reads it.
struct TIniFile::TData {
  TData() { Ini.SetSpaces(false); }
  CSimpleIniA Ini{false, true};  // names whatever their case; 8-bit text kept as it is
};

TIniFile::TIniFile(const QString& path) : FPath(path), FWritePath(path), FData(std::make_unique<TData>()) {
  if (!QFileInfo::exists(path)) return;
  const std::optional<QByteArray> bytes = TRegularFile::Read(path);
  FReadable = bytes && !bytes->contains('\0') &&
              FData->Ini.LoadData(bytes->constData(), std::size_t(bytes->size())) >= 0;
}

TIniFile::~TIniFile() = default;

QString TIniFile::ReadString(const char* section, const char* key, const QString& fallback) const {
  const char* value = FData->Ini.GetValue(section, key, nullptr);
  return value != nullptr ? WithoutQuotes(QString::fromLatin1(value)).left(MaxValueLength) : fallback;
}

int TIniFile::ReadInteger(const char* section, const char* key, int fallback) const {
  return StrToIntDef(ReadString(section, key, QString()), fallback);
}

void TIniFile::WriteString(const char* section, const char* key, const QString& value) {
  FData->Ini.SetValue(section, key, value.toLatin1().constData(), nullptr,
                      true);  // once, in the first's place
}

void TIniFile::WriteInteger(const char* section, const char* key, int value) {
  WriteString(section, key, QString::number(value));
}

void TIniFile::SetWritePath(const QString& path) {
  FWritePath = path;
  if (FReadable || path == FPath) return;
  FData = std::make_unique<TData>();
  FReadable = true;
}

void TIniFile::UpdateFile() {
  std::string bytes;
  if (!FReadable || FData->Ini.Save(bytes) < 0 ||
      WriteWholeFile(QFile::encodeName(FWritePath).toStdString(), bytes, wtNamed) != 0)
    throw EVornError("Unable to write to " + FWritePath);
}
