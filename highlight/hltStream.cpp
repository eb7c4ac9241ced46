#include "hltStream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

ThltMemoryStream::~ThltMemoryStream()
{
    std::free(FData);
}

void ThltMemoryStream::Reserve(std::size_t capacity)
{
    if (capacity <= FCapacity)
        return;
    char* data = static_cast<char*>(std::realloc(FData, capacity));
    if (!data)
        throw std::bad_alloc();
    FData = data;
    FCapacity = capacity;
}

void ThltMemoryStream::Write(const char* data, std::size_t size)
{
    const std::size_t end = FPosition + size;
    if (end > FCapacity)
        Reserve(std::max(end, 2 * FCapacity));
    if (FPosition > FSize)
        std::memset(FData + FSize, 0, FPosition - FSize);
    std::memcpy(FData + FPosition, data, size);
    FPosition = end;
    FSize = std::max(FSize, end);
}

std::size_t ThltMemoryStream::Read(char* data, std::size_t size)
{
    if (FPosition >= FSize)
        return 0;
    const std::size_t count = std::min(size, FSize - FPosition);
    std::memcpy(data, FData + FPosition, count);
    FPosition += count;
    return count;
}

void ThltMemoryStream::Clear()
{
    FSize = 0;
    FPosition = 0;
}

std::string ThltMemoryStream::TakeBytes()
{
    std::string bytes(FData ? FData : "", FSize);
    Clear();
    return bytes;
}
