#include "RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>

#include "VornError.h"

namespace {

// Closes a descriptor on every way out of a function.
class TDescriptor {
public:
  explicit TDescriptor(int fd) : FFd(fd) {}
  ~TDescriptor() {
    if (FFd >= 0) ::close(FFd);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int Get() const { return FFd; }

private:
  int FFd;
};

// Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
int OpenUnblocked(const QString& path, int access) {
  return ::open(QFile::encodeName(path).constData(), access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

bool IsRegular(int fd, struct stat& status) { return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode); }

bool ReadAt(int fd, char* data, qint64 size) {
  for (qint64 done = 0; done < size;) {
    const ssize_t count = ::pread(fd, data + done, size_t(size - done), off_t(done));
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    done += count;
  }
  return true;
}

bool WriteAt(int fd, std::string_view bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t count = ::pwrite(fd, bytes.data() + done, bytes.size() - done, off_t(done));
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    done += std::size_t(count);
  }
  return true;
}

bool Rewrite(int fd, std::string_view bytes) {
  return WriteAt(fd, bytes) && ::ftruncate(fd, off_t(bytes.size())) == 0 && ::fsync(fd) == 0;
}

// Space for the grown part is taken before anything is overwritten, so a full disk stops the
// write while the old text is still whole. A file system that cannot reserve space is written
// without the reservation.
bool ReserveSpace(int fd, qint64 oldSize, std::size_t newSize) {
  if (qint64(newSize) <= oldSize) return true;
  if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, off_t(oldSize), off_t(qint64(newSize) - oldSize)) == 0)
    return true;
  return errno == EOPNOTSUPP || errno == ENOSYS;
}

[[noreturn]] void CannotCreate(const QString& path) { throw EVornError("Cannot create file " + path); }
[[noreturn]] void FailedToSave() { throw EVornError("Failed to Save Stream"); }

}  // namespace

std::optional<QByteArray> TRegularFile::Read(const QString& path) {
  const TDescriptor file(OpenUnblocked(path, O_RDONLY));
  struct stat status {};
  if (file.Get() < 0 || !IsRegular(file.Get(), status) || status.st_size > MaxSize) return std::nullopt;
  QByteArray bytes(qsizetype(status.st_size), Qt::Uninitialized);
  if (!ReadAt(file.Get(), bytes.data(), status.st_size)) return std::nullopt;
  return bytes;
}

void TRegularFile::Write(const QString& path, std::string_view bytes) {
  struct stat status {};
  if (::stat(QFile::encodeName(path).constData(), &status) != 0) return WriteAtomically(path, bytes);
  if (!S_ISREG(status.st_mode)) CannotCreate(path);
  if (status.st_nlink > 1) return WriteInPlace(path, bytes);
  WriteAtomically(path, bytes);
}

// A folder that takes no new file still lets an existing file in it be saved, written in place.
void TRegularFile::WriteAtomically(const QString& path, std::string_view bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (QFileInfo(path).isFile()) return WriteInPlace(path, bytes);
    CannotCreate(path);
  }
  if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.commit())
    FailedToSave();
}

// The old text is first copied to a synced backup beside the file, where the folder takes one,
// and space for the grown part is reserved; the file is then overwritten and synced. When that
// fails, the old text is written back from memory; the backup is removed only when the file
// holds a whole text again, so it is never the only place the old text lives and never left
// behind without need.
void TRegularFile::WriteInPlace(const QString& path, std::string_view bytes) {
  const TDescriptor file(OpenUnblocked(path, O_RDWR));
  struct stat status {};
  if (file.Get() < 0 || !IsRegular(file.Get(), status)) CannotCreate(path);
  QByteArray old(qsizetype(status.st_size), Qt::Uninitialized);
  if (!ReadAt(file.Get(), old.data(), status.st_size)) CannotCreate(path);
  QTemporaryFile backup(path + QStringLiteral(".vornsave-XXXXXX"));
  const bool backedUp = backup.open() && backup.write(old) == old.size() && backup.flush() &&
                        ::fsync(int(backup.handle())) == 0;
  if (!backedUp) backup.remove();
  if (!ReserveSpace(file.Get(), status.st_size, bytes.size())) CannotCreate(path);
  if (Rewrite(file.Get(), bytes)) return;
  if (!Rewrite(file.Get(), std::string_view(old.constData(), std::size_t(old.size()))) && backedUp)
    backup.setAutoRemove(false);
  FailedToSave();
}
