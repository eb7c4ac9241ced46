#pragma once

#include <cstddef>
#include <string>

// A file system of its own for one test, so that a write meets a disk that is really full: a
// tmpfs of a few pages mounted on a new folder, unmounted at the end. Mounting takes the right
// to (root, as CI runs the tests); without it Mounted() is false and Why() says so.
class TSmallFileSystem {
public:
  explicit TSmallFileSystem(std::size_t bytes = 512 * 1024);
  ~TSmallFileSystem();
  TSmallFileSystem(const TSmallFileSystem&) = delete;
  TSmallFileSystem& operator=(const TSmallFileSystem&) = delete;

  bool Mounted() const { return FMounted; }
  const std::string& Why() const { return FWhy; }
  std::string Path(const std::string& name) const { return FFolder + '/' + name; }

  // Takes all the space but `free` bytes (a multiple of the page size) with a file of its own;
  // false when the file system then has some other amount free.
  bool Fill(std::size_t free);
  std::size_t Free() const;

private:
  std::string FFolder;
  bool FMounted = false;
  std::string FWhy;
};
