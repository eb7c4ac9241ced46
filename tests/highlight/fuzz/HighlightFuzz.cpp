// Feeds arbitrary bytes to the HTML highlighter and aborts when the document
// breaks one of the invariants that RtfDocument.h lists.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/highlight/HighlightedRtf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string html(reinterpret_cast<const char*>(data), size);
  const std::string error = CheckInvariants(html);
  if (!error.empty()) {
    std::fprintf(stderr, "highlighter invariant broken: %s\n", error.c_str());
    std::abort();
  }
  return 0;
}
