#include "services/disk/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

#include "services/disk/Descriptor.h"

namespace {

constexpr int MaxLinks = 40;  // as the system follows them

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The path a chain of symbolic links ends at; the path itself when it names no link. A chain
// too long ends at a link, which the caller refuses.
std::string FinalTarget(std::string path) {
  for (int hop = 0; hop < MaxLinks; ++hop) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length <= 0) return path;
    target.resize(std::size_t(length));
    path = target.front() == '/' ? target : FolderOf(path) + '/' + target;
  }
  return path;
}

bool TakesNewFiles(const std::string& folder) {
  return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

// A name made or removed in a folder reaches the disk only with the folder. A file system that
// cannot sync a folder says EINVAL; its names are as safe as it makes them.
int SyncFolder(const std::string& folder) {
  TDescriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!handle.IsOpen()) return errno;
  return ::fsync(handle.Get()) != 0 && errno != EINVAL ? errno : 0;
}

// A new file named `base` + WriteSuffix + six random letters; -1 with errno on failure.
int CreateUnique(const std::string& base, mode_t mode, std::string& name) {
  static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = base + WriteSuffix;
    for (int i = 0; i < 6; ++i) name += Letters[random() % (sizeof Letters - 1)];
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The new text in a file of its own, synced, then renamed over the old name. A replaced file's
// permissions pass to the new one, which is private until they are set.
int Replace(const std::string& path, std::string_view bytes, const struct stat* old) {
  std::string temporary;
  TDescriptor file(CreateUnique(path, old != nullptr ? 0600 : 0666, temporary));
  if (!file.IsOpen()) return errno;
  const bool written = (old == nullptr || ::fchmod(file.Get(), old->st_mode & 07777) == 0) &&
                       WriteAt(file.Get(), bytes) && ::fsync(file.Get()) == 0 && file.Close() &&
                       ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!written) {
    const int failure = errno;
    ::unlink(temporary.c_str());
    return failure;
  }
  return SyncFolder(FolderOf(path));
}

// The old text of a file about to be rewritten in place, on disk under a name of its own before
// the first byte of the rewrite: beside the file, or in the temporary folder when the file's
// folder takes no new file. It is removed once the file holds a whole text again, and kept when
// the program could not make sure of that.
class TBackup {
public:
  ~TBackup() {
    if (!FName.empty() && !FKept) Remove();
  }
  int Make(const std::string& path, std::string_view old) {
    int failure = Write(path, old);
    if (failure == 0 || TakesNewFiles(FolderOf(path))) return failure;
    const char* temporaryFolder = std::getenv("TMPDIR");
    return Write(std::string(temporaryFolder != nullptr && *temporaryFolder ? temporaryFolder : "/tmp") +
                     '/' + NameOf(path),
                 old);
  }
  void Keep() { FKept = true; }
  void Remove() {
    ::unlink(FName.c_str());
    SyncFolder(FolderOf(FName));
    FName.clear();
  }

private:
  int Write(const std::string& base, std::string_view old) {
    std::string name;
    TDescriptor file(CreateUnique(base, 0600, name));
    if (!file.IsOpen()) return errno;
    FName = name;
    if (!WriteAt(file.Get(), old) || ::fsync(file.Get()) != 0 || !file.Close()) return Failed();
    if (const int failure = SyncFolder(FolderOf(FName))) return Failed(failure);
    return 0;
  }
  int Failed(int failure = errno) {
    Remove();
    return failure;
  }

  std::string FName;
  bool FKept = false;
};

bool Rewrite(int fd, std::string_view bytes) {
  return WriteAt(fd, bytes) && ::ftruncate(fd, off_t(bytes.size())) == 0 && ::fsync(fd) == 0;
}

// Space for the grown part is taken before anything is overwritten, so a full disk stops the
// rewrite while the old text is still whole. A file system that cannot reserve space is
// written without the reservation.
bool ReserveSpace(int fd, off_t oldSize, std::size_t newSize) {
  if (off_t(newSize) <= oldSize) return true;
  if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, oldSize, off_t(newSize) - oldSize) == 0) return true;
  return errno == EOPNOTSUPP || errno == ENOSYS;
}

// Should the rewrite fail, the old text is written back from memory; the backup is removed only
// when the file holds a whole text again.
int RewriteInPlace(const std::string& path, std::string_view bytes) {
  TDescriptor file(OpenUnblocked(path.c_str(), O_RDWR | O_NOFOLLOW));
  struct stat status {};
  if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0) return errno;
  if (!S_ISREG(status.st_mode)) return EEXIST;
  std::string old(std::size_t(status.st_size), '\0');
  if (!ReadAt(file.Get(), old.data(), status.st_size)) return errno;
  TBackup backup;
  if (const int failure = backup.Make(path, old)) return failure;
  if (!ReserveSpace(file.Get(), status.st_size, bytes.size())) return errno;
  if (Rewrite(file.Get(), bytes)) return 0;
  const int failure = errno;
  if (!Rewrite(file.Get(), old)) backup.Keep();
  return failure;
}

}  // namespace

int WriteWholeFile(const std::string& path, std::string_view bytes, TWriteTarget target) {
  if (path.empty()) return ENOENT;
  const std::string name = target == wtNamed ? FinalTarget(path) : path;
  struct stat status {};
  if (::lstat(name.c_str(), &status) != 0) return errno == ENOENT ? Replace(name, bytes, nullptr) : errno;
  if (S_ISDIR(status.st_mode)) return EISDIR;
  if (!S_ISREG(status.st_mode)) return EEXIST;
  if (target == wtNamed && (status.st_nlink > 1 || !TakesNewFiles(FolderOf(name))))
    return RewriteInPlace(name, bytes);
  return Replace(name, bytes, &status);
}
