#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// The bytes of a file, or "" when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
