#include "tests/support/SmallFileSystem.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

TSmallFileSystem::TSmallFileSystem(std::size_t bytes) {
  std::string folder = "/tmp/vorn-small-fs-XXXXXX";
  if (::mkdtemp(folder.data()) == nullptr) {
    FWhy = std::string("no folder to mount on: ") + std::strerror(errno);
    return;
  }
  FFolder = folder;
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
  FMounted = ::mount("tmpfs", FFolder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
  if (!FMounted) FWhy = std::string("a small file system cannot be mounted here: ") + std::strerror(errno);
}

TSmallFileSystem::~TSmallFileSystem() {
  if (FMounted) ::umount2(FFolder.c_str(), MNT_DETACH);
  if (!FFolder.empty()) ::rmdir(FFolder.c_str());
}

std::size_t TSmallFileSystem::Free() const {
  struct statvfs status {};
  if (::statvfs(FFolder.c_str(), &status) != 0) return std::size_t(-1);
  return std::size_t(status.f_bavail) * status.f_frsize;
}

bool TSmallFileSystem::Fill(std::size_t free) {
  const int fd = ::open(Path(".filler").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const std::vector<char> page(4096, 'f');
  while (::write(fd, page.data(), page.size()) > 0) {
  }
  const off_t size = ::lseek(fd, 0, SEEK_END);
  const bool freed = size >= off_t(free) && ::ftruncate(fd, size - off_t(free)) == 0;
  ::close(fd);
  return freed && Free() == free;
}
