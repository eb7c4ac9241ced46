#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A byte sink that accepts sequential writes at its current position.
class ThltStream {
public:
    virtual ~ThltStream() = default;
    virtual void Write(const char* data, std::size_t size) = 0;

    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
};

// A growable byte buffer with a current position. A write at the position
// overwrites the bytes there and extends the buffer past its end; a position
// beyond the end leaves a gap of zero bytes on the next write.
class ThltMemoryStream final : public ThltStream {
public:
    using ThltStream::Write;
    void Write(const char* data, std::size_t size) override;

    // Copies up to size bytes from the position on and moves past them;
    // returns how many were copied.
    std::size_t Read(char* data, std::size_t size);

    std::size_t Position() const { return FPosition; }
    void SetPosition(std::size_t position) { FPosition = position; }
    std::size_t Size() const { return FSize; }
    const char* Data() const { return FData; }
    std::string_view Bytes() const { return {FData, FSize}; }

    // Makes room for a total of capacity bytes, so that writes up to that
    // size do not move the buffer.
    void Reserve(std::size_t capacity);
    void Clear();
    // Hands the bytes over and leaves the stream empty.
    std::string TakeBytes();

    ThltMemoryStream() = default;
    ThltMemoryStream(const ThltMemoryStream&) = delete;
    ThltMemoryStream& operator=(const ThltMemoryStream&) = delete;
    ~ThltMemoryStream() override;

private:
    char* FData = nullptr;
    std::size_t FSize = 0;
    std::size_t FCapacity = 0;
    std::size_t FPosition = 0;
};
