#include "text/RtfControlWords.h"

#include <algorithm>
#include <iterator>

namespace {

// Sorted by name for the binary search.
constexpr TRtfWordEntry Words[] = {
    {"annotation", wSkip, 0},
    {"atnauthor", wSkip, 0},
    {"atnid", wSkip, 0},
    {"b", wB, 0},
    {"bin", wBin, 0},
    {"blue", wBlue, 0},
    {"bullet", wByte, 0x95},
    {"cell", wTab, 0},
    {"cf", wCf, 0},
    {"colorschememapping", wSkip, 0},
    {"colortbl", wColourTable, 0},
    {"comment", wSkip, 0},
    {"datastore", wSkip, 0},
    {"deff", wDeff, 0},
    {"emdash", wByte, 0x97},
    {"emspace", wByte, ' '},
    {"endash", wByte, 0x96},
    {"enspace", wByte, ' '},
    {"f", wF, 0},
    {"fbidi", wFamily, int(TRtfFamily::Bidi)},
    {"fdecor", wFamily, int(TRtfFamily::Decor)},
    {"filetbl", wSkip, 0},
    {"fldinst", wSkip, 0},
    {"fmodern", wFamily, int(TRtfFamily::Modern)},
    {"fnil", wFamily, int(TRtfFamily::Nil)},
    {"fonttbl", wFontTable, 0},
    {"footer", wSkip, 0},
    {"footerf", wSkip, 0},
    {"footerl", wSkip, 0},
    {"footerr", wSkip, 0},
    {"footnote", wSkip, 0},
    {"froman", wFamily, int(TRtfFamily::Roman)},
    {"fs", wFs, 0},
    {"fscript", wFamily, int(TRtfFamily::Script)},
    {"fswiss", wFamily, int(TRtfFamily::Swiss)},
    {"ftech", wFamily, int(TRtfFamily::Tech)},
    {"generator", wSkip, 0},
    {"green", wGreen, 0},
    {"header", wSkip, 0},
    {"headerf", wSkip, 0},
    {"headerl", wSkip, 0},
    {"headerr", wSkip, 0},
    {"i", wI, 0},
    {"info", wSkip, 0},
    {"latentstyles", wSkip, 0},
    {"ldblquote", wByte, 0x93},
    {"line", wBreak, 0},
    {"listoverridetable", wSkip, 0},
    {"listtable", wSkip, 0},
    {"lquote", wByte, 0x91},
    {"object", wSkip, 0},
    {"page", wBreak, 0},
    {"par", wBreak, 0},
    {"pgdsctbl", wSkip, 0},
    {"pict", wSkip, 0},
    {"plain", wPlain, 0},
    {"rdblquote", wByte, 0x94},
    {"red", wRed, 0},
    {"revtbl", wSkip, 0},
    {"row", wBreak, 0},
    {"rquote", wByte, 0x92},
    {"rsidtbl", wSkip, 0},
    {"sect", wBreak, 0},
    {"stylesheet", wSkip, 0},
    {"tab", wTab, 0},
    {"themedata", wSkip, 0},
    {"u", wU, 0},
    {"uc", wUc, 0},
    {"ul", wUl, 0},
    {"uld", wUl, 0},
    {"uldb", wUl, 0},
    {"ulnone", wUlnone, 0},
    {"ulw", wUl, 0},
    {"xmlnstbl", wSkip, 0},
};

constexpr bool SortedByName() {
  for (std::size_t i = 1; i < std::size(Words); ++i)
    if (!(Words[i - 1].Name < Words[i].Name)) return false;
  return true;
}
static_assert(SortedByName(), "the look-up is a binary search");

}  // namespace

const TRtfWordEntry* FindRtfWord(std::string_view name) {
  const auto end = std::end(Words);
  const auto found = std::lower_bound(std::begin(Words), end, name,
                                      [](const TRtfWordEntry& e, std::string_view n) { return e.Name < n; });
  return found != end && found->Name == name ? found : nullptr;
}
