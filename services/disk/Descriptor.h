#pragma once

#include <cstdint>
#include <string_view>

// An open file descriptor, closed on every way out of the scope that holds it.
class TDescriptor {
public:
  explicit TDescriptor(int fd = -1) : FFd(fd) {}
  ~TDescriptor() { Close(); }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;

  int Get() const { return FFd; }
  bool IsOpen() const { return FFd >= 0; }
  // Closes now; false when the close reports a failure (a write that did not reach the disk).
  bool Close();

private:
  int FFd;
};

// Opens without waiting: a FIFO with no writer, or a device, returns at once.
int OpenUnblocked(const char* path, int access);

// Reads or writes exactly size bytes at offset 0 onward, through short counts and interrupted
// calls; false on any failure, with errno telling which.
bool ReadAt(int fd, char* data, std::int64_t size);
bool WriteAt(int fd, std::string_view bytes);
