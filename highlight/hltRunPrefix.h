#pragma once

// The prefix of a run, "\cf" + colour index + " ", made once for the usual
// indices and padded to eight bytes so that it is written as a single move.

#include <array>
#include <cstddef>
#include <string_view>

struct ThltRunPrefix {
  char Bytes[8];
  std::size_t Size;
};

inline constexpr int RunPrefixCount = 16;

constexpr std::array<ThltRunPrefix, RunPrefixCount> hltMakeRunPrefixes() {
  std::array<ThltRunPrefix, RunPrefixCount> prefixes{};
  for (int index = 0; index < RunPrefixCount; ++index) {
    ThltRunPrefix& prefix = prefixes[index];
    std::size_t size = 0;
    for (const char c : std::string_view("\\cf")) prefix.Bytes[size++] = c;
    if (index >= 10) prefix.Bytes[size++] = static_cast<char>('0' + index / 10);
    prefix.Bytes[size++] = static_cast<char>('0' + index % 10);
    prefix.Bytes[size++] = ' ';
    prefix.Size = size;
  }
  return prefixes;
}

inline constexpr std::array<ThltRunPrefix, RunPrefixCount> RunPrefixes = hltMakeRunPrefixes();
