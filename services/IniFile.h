#pragma once

#include <QString>
#include <memory>

// A sectioned key-value settings file, read when the object is made and written only by
// UpdateFile, atomically. Section and key names are found whatever their case; every section and
// key of the file that is not written keeps its value and place. A file that is there but cannot
// be read whole (unreadable, too large, holding a NUL) is never written, since what it holds
// would be lost.
class TIniFile {
public:
  explicit TIniFile(const QString& path);
  ~TIniFile();
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  // Whether the file was read whole, or is not there yet.
  bool IsReadable() const { return FReadable; }

  // The value, cut to 2047 characters, or fallback when the key is missing.
  QString ReadString(const char* section, const char* key, const QString& fallback) const;
  // The value as an integer text (see StrToInt), or fallback when it is missing or does not convert.
  int ReadInteger(const char* section, const char* key, int fallback) const;
  void WriteString(const char* section, const char* key, const QString& value);
  void WriteInteger(const char* section, const char* key, int value);

  // The file UpdateFile writes, the one read unless set. A file read as defaults for another is
  // never at risk: what could not be read of it is left out.
  void SetWritePath(const QString& path);
  // Writes the file; "Unable to write to %s" when it cannot be written or was not readable, the
  // old file then intact.
  void UpdateFile();

private:
  struct TData;
  QString FPath;
  QString FWritePath;
  bool FReadable = true;
  std::unique_ptr<TData> FData;
};
