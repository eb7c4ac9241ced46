#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

// The growable byte buffer that the document's runs are built in. Appends are
// inline and keep some spare room at the end, so that the many short pieces
// of a document (a run prefix, a token of a few characters) are copied with
// a few word moves instead of a library call each.
class ThltRunBuffer {
public:
    // Bytes that may always be written past the end without growing.
    static constexpr std::size_t Slack = 16;

    explicit ThltRunBuffer(std::size_t capacity = 0) { Grow(capacity); }

    void Append(std::string_view bytes)
    {
        const std::size_t size = bytes.size();
        if (FCapacity - FSize < size + Slack)
            Grow(size);
        CopyBytes(FData.get() + FSize, bytes.data(), size);
        FSize += size;
    }

    // Appends the first size bytes of an eight-byte block (size at most 8)
    // with a single move.
    void AppendShort(const char* block, std::size_t size)
    {
        if (FCapacity - FSize < Slack)
            Grow(Slack);
        std::memcpy(FData.get() + FSize, block, 8);
        FSize += size;
    }

    std::string_view View() const { return {FData.get(), FSize}; }
    std::size_t Size() const { return FSize; }
    void Clear() { FSize = 0; }

private:
    void Grow(std::size_t extra)
    {
        std::size_t capacity = FCapacity ? FCapacity : 256;
        while (capacity - FSize < extra + Slack)
            capacity *= 2;
        if (capacity == FCapacity)
            return;
        std::unique_ptr<char[]> data(new char[capacity]);
        if (FSize)
            std::memcpy(data.get(), FData.get(), FSize);
        FData = std::move(data);
        FCapacity = capacity;
    }

    // Reads exactly size bytes: a token may end right before the end of its
    // text, so nothing beyond it may be read.
    static void CopyBytes(char* out, const char* in, std::size_t size)
    {
        if (size > 16) {
            std::memcpy(out, in, size);
        } else if (size >= 8) {
            CopyOverlapped<std::uint64_t>(out, in, size);
        } else if (size >= 4) {
            CopyOverlapped<std::uint32_t>(out, in, size);
        } else if (size > 0) {
            out[0] = in[0];
            out[size / 2] = in[size / 2];
            out[size - 1] = in[size - 1];
        }
    }

    // Copies size bytes, sizeof(Word) <= size <= 2 * sizeof(Word), as two
    // possibly overlapping words.
    template <class Word>
    static void CopyOverlapped(char* out, const char* in, std::size_t size)
    {
        Word head;
        Word tail;
        std::memcpy(&head, in, sizeof head);
        std::memcpy(&tail, in + size - sizeof tail, sizeof tail);
        std::memcpy(out, &head, sizeof head);
        std::memcpy(out + size - sizeof tail, &tail, sizeof tail);
    }

    std::unique_ptr<char[]> FData;
    std::size_t FSize = 0;
    std::size_t FCapacity = 0;
};
