// Reads arbitrary bytes as RTF, then the same bytes with a part replaced, as the help window
// reads its file again after it changed, and aborts when a document breaks what RtfDocument.h
// promises or when a read depends on the one before it.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/RtfReader.h"

namespace {

void Fail(const char* what) {
  std::fprintf(stderr, "RTF reader: %s\n", what);
  std::abort();
}

// The runs lie in order, without gaps, over the whole text, each naming a format there is, and
// each format names a font there is or none.
void Check(const TRtfDocument& document) {
  std::size_t next = 0;
  for (const TRtfRun& run : document.Runs) {
    if (run.Start != next) Fail("runs leave a gap or overlap");
    if (run.Format < 0 || std::size_t(run.Format) >= document.Formats.size())
      Fail("a run's format is unknown");
    next += run.Length;
  }
  if (next != document.Text.size()) Fail("runs do not cover the text");
  for (const TRtfFormat& format : document.Formats)
    if (format.Font < -1 || format.Font >= std::int32_t(document.Fonts.size()))
      Fail("a format's font is unknown");
  if (!document.Formats.empty() &&
      (document.BaseFormat < 0 || std::size_t(document.BaseFormat) >= document.Formats.size()))
    Fail("the base format is unknown");
}

bool Same(const TRtfDocument& a, const TRtfDocument& b) {
  if (a.Text != b.Text || a.Runs.size() != b.Runs.size() || !(a.Formats == b.Formats) ||
      a.Colours != b.Colours || !(a.Fonts == b.Fonts) || a.BaseFormat != b.BaseFormat)
    return false;
  for (std::size_t i = 0; i < a.Runs.size(); ++i)
    if (a.Runs[i].Start != b.Runs[i].Start || a.Runs[i].Length != b.Runs[i].Length ||
        a.Runs[i].Format != b.Runs[i].Format)
      return false;
  return true;
}

// A complete read is checked; an incomplete one must only end.
bool Read(std::string_view rtf, TRtfDocument& document) {
  const bool complete = TRtfReader(rtf).Read(document);
  if (complete) Check(document);
  return complete;
}

}  // namespace

// The first four bytes say where the change is, how many bytes it removes and the byte it puts
// in their place; the rest is the file as first read.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::string first(reinterpret_cast<const char*>(data) + 4, size - 4);
  const std::size_t at = std::min<std::size_t>(first.size(), std::size_t(data[0]) << 8 | data[1]);
  std::string second = first;
  second.replace(at, data[2], 1, char(data[3]));

  TRtfDocument firstDocument, secondDocument, freshDocument;
  Read(first, firstDocument);
  const bool complete = Read(second, secondDocument);
  if (complete != Read(second, freshDocument) || (complete && !Same(secondDocument, freshDocument)))
    Fail("a read depends on the one before it");
  return 0;
}
