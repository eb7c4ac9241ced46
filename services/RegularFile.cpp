#include "services/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>

#include "services/VornError.h"
#include "services/disk/Descriptor.h"
#include "services/disk/WholeFile.h"

namespace {

std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

void WriteFile(const QString& path, std::string_view bytes, TWriteTarget target) {
  if (WriteWholeFile(NativePath(path), bytes, target) != 0) throw EVornError("Cannot create file " + path);
}

}  // namespace

std::optional<QByteArray> TRegularFile::Read(const QString& path) {
  const TDescriptor file(OpenUnblocked(NativePath(path).c_str(), O_RDONLY));
  struct stat status {};
  if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      status.st_size > MaxSize)
    return std::nullopt;
  QByteArray bytes(qsizetype(status.st_size), Qt::Uninitialized);
  if (!ReadAt(file.Get(), bytes.data(), status.st_size)) return std::nullopt;
  return bytes;
}

void TRegularFile::Write(const QString& path, std::string_view bytes) { WriteFile(path, bytes, wtNamed); }

void TRegularFile::WriteOwn(const QString& path, std::string_view bytes) { WriteFile(path, bytes, wtOwn); }

std::optional<TFileStamp> TRegularFile::Stamp(const QString& path) { return FileStampOf(NativePath(path)); }
