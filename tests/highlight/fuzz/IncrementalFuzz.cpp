// Reads a text and a series of edits from the fuzzer's bytes, keeps the highlighted document up
// to date edit by edit, and aborts when it differs from a full pass over the same text.
// Input: a piece size byte, then records of [position: 2 bytes][removed: 1 byte][count: 1 byte]
// followed by count bytes to insert; the first record's bytes are the starting text.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "highlight/hltIncremental.h"

namespace {

std::string FullPass(const std::string& text) {
  ThltHTMLRTF highlighter;
  highlighter.SetSource(text);
  return highlighter.GetRTF();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  ThltIncrementalRTF document(1 + data[0] % 64);
  std::string text;
  document.Reset(ThltStringSource(text));
  for (std::size_t at = 1; at + 4 <= size;) {
    const std::size_t position = (data[at] | data[at + 1] << 8) % (text.size() + 1);
    const std::size_t removed = std::min<std::size_t>(data[at + 2], text.size() - position);
    const std::size_t count = std::min<std::size_t>(data[at + 3], size - at - 4);
    text.replace(position, removed, reinterpret_cast<const char*>(data + at + 4), count);
    document.Edit(ThltStringSource(text), position, removed, count);
    if (document.GetRTF(ThltStringSource(text)) != FullPass(text)) {
      std::fprintf(stderr, "the kept document differs from a full pass after an edit at %zu\n", position);
      std::abort();
    }
    at += 4 + count;
  }
  return 0;
}
