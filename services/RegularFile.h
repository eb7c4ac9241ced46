#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string_view>

#include "services/disk/FileStamp.h"

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

  // Replaces the content of a file the user named, whole or not at all (wtNamed): a link is
  // followed, a file with several names is rewritten in place after a backup, anything but a
  // regular file is left untouched. Every failure, a full disk included, raises "Cannot create
  // file %s" with the old file as it was.
  static void Write(const QString& path, std::string_view bytes);
  // The same for a file of the program's own (wtOwn), which is never written through a link.
  static void WriteOwn(const QString& path, std::string_view bytes);

  // The file on disk as it is now; nothing when no file is there.
  static std::optional<TFileStamp> Stamp(const QString& path);
};
