#include "services/disk/Descriptor.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

bool TDescriptor::Close() {
  if (FFd < 0) return true;
  const int fd = FFd;
  FFd = -1;
  return ::close(fd) == 0;
}

int OpenUnblocked(const char* path, int access) {
  return ::open(path, access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

bool ReadAt(int fd, char* data, std::int64_t size) {
  for (std::int64_t done = 0; done < size;) {
    const ssize_t count = ::pread(fd, data + done, std::size_t(size - done), off_t(done));
    if (count < 0 && errno == EINTR) continue;
    if (count == 0) errno = EIO;  // the file shrank while it was read
    if (count <= 0) return false;
    done += count;
  }
  return true;
}

bool WriteAt(int fd, std::string_view bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t count = ::pwrite(fd, bytes.data() + done, bytes.size() - done, off_t(done));
    if (count < 0 && errno == EINTR) continue;
    if (count == 0) errno = ENOSPC;
    if (count <= 0) return false;
    done += std::size_t(count);
  }
  return true;
}
