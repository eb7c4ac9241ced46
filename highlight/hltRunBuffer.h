#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

// The growable byte buffer that the document's runs are built in. It always
// keeps Slack spare bytes at the end, so that the many short pieces of a
// document (a run prefix, a token of a few characters) can be copied as one
// fixed-size block each instead of through a library call.
class ThltRunBuffer {
public:
  static constexpr std::size_t Slack = 16;

  explicit ThltRunBuffer(std::size_t capacity = 0) {
    if (capacity) Reserve(capacity);
  }

  // Where the next bytes go, with room for size bytes plus Slack; Commit
  // then says where the written bytes end.
  char* Room(std::size_t size) {
    if (static_cast<std::size_t>(FLimit - FEnd) < size) Grow(size);
    return FEnd;
  }
  void Commit(char* end) { FEnd = end; }

  void Append(std::string_view bytes) {
    if (bytes.empty()) return;
    char* out = Room(bytes.size());
    std::memcpy(out, bytes.data(), bytes.size());
    Commit(out + bytes.size());
  }

  std::string_view View() const { return {FData.get(), Size()}; }
  char* Data() { return FData.get(); }
  std::size_t Size() const { return static_cast<std::size_t>(FEnd - FData.get()); }
  void Clear() { FEnd = FData.get(); }
  // Makes room for a total of capacity bytes, so that appends up to that
  // size do not move the buffer.
  void Reserve(std::size_t capacity) {
    if (capacity + Slack > FCapacity) Resize(capacity + Slack);
  }

private:
  [[gnu::cold]] void Grow(std::size_t extra) {
    const std::size_t size = FData ? Size() : 0;
    std::size_t capacity = FCapacity ? FCapacity : 256;
    while (capacity - size < extra + Slack) capacity *= 2;
    if (capacity != FCapacity) Resize(capacity);
  }

  void Resize(std::size_t capacity) {
    const std::size_t size = FData ? Size() : 0;
    std::unique_ptr<char[]> data(new char[capacity]);
    if (size) std::memcpy(data.get(), FData.get(), size);
    FData = std::move(data);
    FCapacity = capacity;
    FEnd = FData.get() + size;
    FLimit = FData.get() + capacity - Slack;
  }

  std::unique_ptr<char[]> FData;
  std::size_t FCapacity = 0;
  char* FEnd = nullptr;
  char* FLimit = nullptr;  // Slack bytes before the true end
};
