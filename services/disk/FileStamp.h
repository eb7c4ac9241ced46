#pragma once

#include <cstdint>
#include <optional>
#include <string>

// One version of a file on disk. Another program's save changes at least one part: a save that
// replaces the file gives a new inode, one that rewrites it in place a new time or size.
struct TFileStamp {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  std::int64_t Size = 0;
  std::int64_t ModifiedNs = 0;

  bool operator==(const TFileStamp& other) const {
    return Device == other.Device && Inode == other.Inode && Size == other.Size &&
           ModifiedNs == other.ModifiedNs;
  }
  bool operator!=(const TFileStamp& other) const { return !(*this == other); }
};

// The stamp of the file a path names, links followed; nothing when no file is there.
std::optional<TFileStamp> FileStampOf(const std::string& path);
std::optional<TFileStamp> FileStampOf(int fd);
