#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "highlight/hltRunBuffer.h"

// A byte sink that accepts sequential writes at its current position.
class ThltStream {
public:
  virtual ~ThltStream() = default;
  virtual void Write(const char* data, std::size_t size) = 0;

  // A stream that keeps its bytes in a run buffer and is positioned at its
  // end may hand that buffer out, so that a writer appends to it directly
  // instead of through Write; EndAppend then moves the position past what
  // was appended. The default hands out nothing.
  virtual ThltRunBuffer* BeginAppend() { return nullptr; }
  virtual void EndAppend() {}

  void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
};

// A growable byte buffer with a current position. A write at the position
// overwrites the bytes there and extends the buffer past its end; a position
// beyond the end leaves a gap of zero bytes on the next write.
class ThltMemoryStream final : public ThltStream {
public:
  using ThltStream::Write;
  void Write(const char* data, std::size_t size) override;
  ThltRunBuffer* BeginAppend() override;
  void EndAppend() override;

  // Copies up to size bytes from the position on and moves past them;
  // returns how many were copied.
  std::size_t Read(char* data, std::size_t size);

  std::size_t Position() const { return FPosition; }
  void SetPosition(std::size_t position) { FPosition = position; }
  std::size_t Size() const { return FBytes.Size(); }
  const char* Data() const { return FBytes.View().data(); }
  std::string_view Bytes() const { return FBytes.View(); }

  // Makes room for a total of capacity bytes, so that writes up to that
  // size do not move the buffer.
  void Reserve(std::size_t capacity) { FBytes.Reserve(capacity); }
  void Clear();
  // Hands a copy of the bytes over and leaves the stream empty.
  std::string TakeBytes();

private:
  ThltRunBuffer FBytes;
  std::size_t FPosition = 0;
};
