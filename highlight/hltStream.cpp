#include "highlight/hltStream.h"

#include <algorithm>
#include <cstring>

void ThltMemoryStream::Write(const char* data, std::size_t size) {
  const std::size_t end = Size();
  if (FPosition > end) {
    char* gap = FBytes.Room(FPosition - end);
    std::memset(gap, 0, FPosition - end);
    FBytes.Commit(gap + (FPosition - end));
  }
  const std::size_t overwritten = std::min(size, Size() - FPosition);
  if (overwritten) std::memcpy(FBytes.Data() + FPosition, data, overwritten);
  FBytes.Append(std::string_view(data + overwritten, size - overwritten));
  FPosition += size;
}

ThltRunBuffer* ThltMemoryStream::BeginAppend() { return FPosition == Size() ? &FBytes : nullptr; }

void ThltMemoryStream::EndAppend() { FPosition = Size(); }

std::size_t ThltMemoryStream::Read(char* data, std::size_t size) {
  if (FPosition >= Size()) return 0;
  const std::size_t count = std::min(size, Size() - FPosition);
  std::memcpy(data, Data() + FPosition, count);
  FPosition += count;
  return count;
}

void ThltMemoryStream::Clear() {
  FBytes.Clear();
  FPosition = 0;
}

std::string ThltMemoryStream::TakeBytes() {
  std::string bytes(Bytes());
  Clear();
  return bytes;
}
