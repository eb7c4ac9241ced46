// The document kept up to date edit by edit equals, byte for byte, the document of a full pass
// over the same text, and an edit re-scans only what it can change.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <utility>

#include "highlight/hltIncremental.h"
#include "tests/highlight/TestFiles.h"

namespace {

std::string FullPass(const std::string& text) {
  ThltHTMLRTF highlighter;
  highlighter.SetSource(text);
  return highlighter.GetRTF();
}

// What editing HTML by hand types and deletes, the state changes above all.
const char* const Typed[] = {
    "<!--",
    "-->",
    "--",
    ">",
    "<",
    "<%",
    "%>",
    "%",
    "\"",
    "&",
    "&amp;",
    "&lt",
    "=",
    " ",
    "\t",
    "\r\n",
    "\r",
    "\n",
    "<script>",
    "</script>",
    "<b>",
    "</p>",
    "x",
    "//",
    "\\",
    "{",
    "}",
    "<a href=\"",
    "\xE9",
    "&divide;",
    "<!DOCTYPE html>",
};

class TEditor {
public:
  TEditor(std::string text, std::uint32_t seed, std::size_t pieceSize = ThltIncrementalRTF::DefaultPieceSize)
      : FText(std::move(text)), FRandom(seed), FDocument(pieceSize) {
    FDocument.Reset(ThltStringSource(FText));
  }

  // One random edit, then the check against a full pass.
  void Step() {
    const std::size_t size = FText.size();
    std::size_t start = Pick(size);
    std::size_t removed = 0;
    std::string inserted;
    switch (Pick(9)) {
      case 0:
      case 1: inserted = Typed[Pick(std::size(Typed))]; break;
      case 2: removed = std::min(size - start, 1 + Pick(3)); break;
      case 3: removed = std::min(size - start, Pick(400)); break;
      case 4: {  // a whole line
        start = FText.rfind('\n', start) == std::string::npos ? 0 : FText.rfind('\n', start) + 1;
        const std::size_t end = FText.find('\n', start);
        removed = (end == std::string::npos ? size : end + 1) - start;
        break;
      }
      case 5: {  // between the CR and the LF of a line break
        const std::size_t breakAt = FText.find("\r\n", start);
        if (breakAt != std::string::npos) start = breakAt + 1;
        inserted = Typed[Pick(std::size(Typed))];
        break;
      }
      case 6: {  // a large block pasted from elsewhere in the text
        const std::size_t from = Pick(size);
        inserted = FText.substr(from, Pick(20000));
        break;
      }
      case 7:
        removed = std::min(size - start, Pick(8));
        inserted = Typed[Pick(std::size(Typed))];
        break;
      default:
        if (Pick(40) == 0) {  // delete all
          start = 0;
          removed = size;
        } else {
          inserted = std::string(1, char(32 + Pick(95)));
        }
    }
    FText.replace(start, removed, inserted);
    const ThltIncrementalRTF::TChange change =
        FDocument.Edit(ThltStringSource(FText), start, removed, inserted.size());
    const std::string expected = FullPass(FText);
    ASSERT_EQ(FDocument.GetRTF(ThltStringSource(FText)), expected)
        << "edit at " << start << " removing " << removed << " adding \"" << inserted.substr(0, 40) << "\"";
    // The new pieces, written alone, fit between the runs of the pieces around them.
    const std::size_t changedEnd = change.First + change.Added;
    ASSERT_EQ(
        Runs(0, change.First) + Runs(change.First, changedEnd) + Runs(changedEnd, FDocument.PieceCount()),
        expected.substr(FDocument.Opening().size(),
                        expected.size() - FDocument.Opening().size() - FDocument.Closing().size()));
    ASSERT_LE(change.TextStart, start);
    ASSERT_GE(change.TextEnd, std::min(start + inserted.size(), FText.size()));
    ExpectPiecesCoverRange(change.TextStart, change.TextEnd);
    const std::size_t a = Pick(FText.size() + 1);
    ExpectPiecesCoverRange(a, a + Pick(FText.size() - a + 1));
  }
  const std::string& Text() const { return FText; }

private:
  std::string Runs(std::size_t first, std::size_t last) {
    std::string part;
    FDocument.WriteRTF(ThltStringSource(FText), part, first, last);
    return part.substr(FDocument.Opening().size(),
                       part.size() - FDocument.Opening().size() - FDocument.Closing().size());
  }

  // The pieces for a range start at or before it, end at or after it, and none of them lies
  // outside it.
  void ExpectPiecesCoverRange(std::size_t start, std::size_t end) {
    const auto [first, last] = FDocument.PiecesCovering(start, end);
    ASSERT_LT(first, last);
    ASSERT_LE(FDocument.PieceTextStart(first), start);
    ASSERT_GE(FDocument.PieceTextEnd(last - 1), end);
    if (first + 1 < last) {
      ASSERT_GT(FDocument.PieceTextEnd(first), start);
      ASSERT_LT(FDocument.PieceTextStart(last - 1), end);
    }
  }

  std::size_t Pick(std::size_t below) {
    return below == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, below - 1)(FRandom);
  }

  std::string FText;
  std::mt19937 FRandom;
  ThltIncrementalRTF FDocument;
};

std::string Soup(std::mt19937& random, std::size_t pieces) {
  std::uniform_int_distribution<std::size_t> pick(0, std::size(Typed) - 1);
  std::string html;
  for (std::size_t i = 0; i < pieces; ++i) html += Typed[pick(random)];
  return html;
}

// Small pieces put piece starts at every kind of place a token can end.
TEST(IncrementalTest, RandomEditsOfSoupGiveTheFullPassDocument) {
  std::mt19937 random(20261209);
  for (int round = 0; round < 60; ++round) {
    TEditor editor(Soup(random, 50 + 200 * std::size_t(round % 8)), random(),
                   1 + std::size_t(round % 6) * 13);
    for (int step = 0; step < 100; ++step) ASSERT_NO_FATAL_FAILURE(editor.Step()) << "round " << round;
  }
}

TEST(IncrementalTest, RandomEditsOfRealPagesGiveTheFullPassDocument) {
  const std::filesystem::path corpus = VORN_CORPUS_DIR;
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  std::uint32_t seed = 1;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (entry.path().extension() != ".html") continue;
    // A window of the larger pages keeps the full pass that checks every step quick.
    std::string page = ReadFile(entry.path());
    if (page.size() > 200000) page = page.substr(page.size() / 2, 200000);
    TEditor editor(page, seed++);
    for (int step = 0; step < 150; ++step)
      ASSERT_NO_FATAL_FAILURE(editor.Step()) << entry.path().filename() << " step " << step;
  }
}

// A text that counts how much of it is read.
class TCountingSource final : public ThltTextSource {
public:
  explicit TCountingSource(const std::string& text) : FText(text) {}
  std::size_t Size() const override { return FText.size(); }
  void Read(std::size_t from, std::size_t count, std::string& out) const override {
    FRead += count;
    out.append(FText, from, count);
  }
  std::size_t TakeRead() { return std::exchange(FRead, 0); }

private:
  const std::string& FText;
  mutable std::size_t FRead = 0;
};

TEST(IncrementalTest, AKeystrokeRescansAPieceOrTwoButAnOpenedCommentRescansToTheEnd) {
  std::string text;
  for (int line = 0; line < 20000; ++line)
    text += "<p class=\"x\">line " + std::to_string(line) + " &amp; more</p>\r\n";
  ThltIncrementalRTF document;
  TCountingSource source(text);
  document.Reset(source);
  EXPECT_EQ(source.TakeRead(), text.size());
  const std::size_t pieces = document.PieceCount();
  ASSERT_GT(pieces, 50u);

  const std::size_t middle = text.size() / 2;
  text.insert(middle, "z");
  ThltIncrementalRTF::TChange change = document.Edit(source, middle, 0, 1);
  EXPECT_LE(source.TakeRead(), 8 * ThltIncrementalRTF::DefaultPieceSize);
  std::string part;
  document.WriteRTF(source, part, change.First, change.First + change.Added);
  EXPECT_LE(source.TakeRead(), change.TextEnd - change.TextStart + 32);
  EXPECT_EQ(document.GetRTF(ThltStringSource(text)), FullPass(text));
  EXPECT_LE(change.Removed, 2u);
  EXPECT_LE(change.Added, 2u);
  EXPECT_LE(change.TextEnd - change.TextStart, 3 * ThltIncrementalRTF::DefaultPieceSize);

  text.insert(0, "<!--");
  change = document.Edit(ThltStringSource(text), 0, 0, 4);
  EXPECT_EQ(document.GetRTF(ThltStringSource(text)), FullPass(text));
  EXPECT_EQ(change.TextEnd, text.size());

  text.erase(0, 4);
  change = document.Edit(ThltStringSource(text), 0, 4, 0);
  EXPECT_EQ(document.GetRTF(ThltStringSource(text)), FullPass(text));
  EXPECT_EQ(change.TextEnd, text.size());
  EXPECT_EQ(document.PieceCount(), pieces);
}

// A "&" in a tag that starts no entity is a run of no text in the colour of the token before
// it: a value here, and a string once the "=" is gone, with the scan in the same state at the
// "&" both times.
TEST(IncrementalTest, TheKindOfTheTokenBeforeAStrayAmpersandIsPartOfTheState) {
  std::string text = "<a x=\"" + std::string(40, 'v') + "\"&y>";
  ThltIncrementalRTF document(1);
  document.Reset(ThltStringSource(text));
  text[4] = ' ';
  document.Edit(ThltStringSource(text), 4, 1, 1);
  EXPECT_EQ(document.GetRTF(ThltStringSource(text)), FullPass(text));
}

// After "=" in a tag, a "&" that starts an entity stands behind two runs of no text; in text the
// "=" itself runs up to it, and the scan is in the same state there. Once the ">" is gone the
// scan meets the old state at the "&" after both empty runs, and a piece that starts there
// must not lose them.
TEST(IncrementalTest, RunsOfNoTextBeforeWhereAnEditMeetsTheOldScanAreKept) {
  for (std::size_t pieceSize = 1; pieceSize <= 8; ++pieceSize) {
    std::string text = "a>" + std::string(20, 'b') + "=&#9;-";
    ThltIncrementalRTF document(pieceSize);
    document.Reset(ThltStringSource(text));
    text.erase(1, 1);
    document.Edit(ThltStringSource(text), 1, 1, 0);
    EXPECT_EQ(document.GetRTF(ThltStringSource(text)), FullPass(text)) << "pieces of " << pieceSize;
  }
}

TEST(IncrementalTest, ALongLineIsCutIntoPiecesTooAndAnEditBeyondTheTextIsRefused) {
  std::string line;
  while (line.size() < 400000) line += "<span class=\"k\">word</span> &lt;x&gt; ";
  ThltIncrementalRTF document;
  document.Reset(ThltStringSource(line));
  EXPECT_GT(document.PieceCount(), 50u);
  const std::size_t word = line.find("word", 200000);
  line.replace(word, 3, "<");
  const ThltIncrementalRTF::TChange change = document.Edit(ThltStringSource(line), word, 3, 1);
  EXPECT_EQ(document.GetRTF(ThltStringSource(line)), FullPass(line));
  EXPECT_LE(change.TextEnd - change.TextStart, 3 * ThltIncrementalRTF::DefaultPieceSize);

  const std::string before = document.GetRTF(ThltStringSource(line));
  EXPECT_THROW(document.Edit(ThltStringSource(line), line.size() + 1, 0, 0), std::invalid_argument);
  EXPECT_THROW(document.Edit(ThltStringSource(line), 0, 2, 0), std::invalid_argument);
  EXPECT_EQ(document.GetRTF(ThltStringSource(line)), before);
}

}  // namespace
