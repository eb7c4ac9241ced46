#include "services/disk/FileStamp.h"

#include <sys/stat.h>

namespace {

TFileStamp StampOf(const struct stat& status) {
  return {std::uint64_t(status.st_dev), std::uint64_t(status.st_ino), std::int64_t(status.st_size),
          std::int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

}  // namespace

std::optional<TFileStamp> FileStampOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return StampOf(status);
}

std::optional<TFileStamp> FileStampOf(int fd) {
  struct stat status {};
  if (::fstat(fd, &status) != 0) return std::nullopt;
  return StampOf(status);
}
