#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string_view>

// The files a user names: documents opened and saved, and the files a previewed page uses.
// Only regular files are read or replaced. A FIFO, a device or a folder is refused at once,
// without waiting on it, and a file above the size limit is refused before it is read, so no
// name can freeze the program, exhaust its memory or replace a system file.
class TRegularFile {
public:
  static constexpr qint64 MaxSize = qint64(256) << 20;

  // The whole file, or nothing when it is missing, unreadable, not a regular file (after
  // following links) or larger than MaxSize.
  static std::optional<QByteArray> Read(const QString& path);

  // Replaces the file's content. A target that exists and is not a regular file is left
  // untouched; a file with several names, or in a folder that takes no new file, is written in
  // place so that every name shows the new text; any other file is replaced atomically.
  // Failures: "Cannot create file %s" when nothing could be started, "Failed to Save Stream"
  // when the write failed; the old text survives both.
  static void Write(const QString& path, std::string_view bytes);

private:
  static void WriteAtomically(const QString& path, std::string_view bytes);
  static void WriteInPlace(const QString& path, std::string_view bytes);
};
