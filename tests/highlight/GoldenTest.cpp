// Longer inputs against reviewed documents: each golden/NAME.html beside
// golden/NAME.rtf. A mismatch writes NAME.rtf.new for review; see README.md.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/highlight/HighlightedRtf.h"
#include "tests/highlight/TestFiles.h"

TEST(GoldenTest, DocumentsMatchTheReviewedOnes) {
  int cases = 0;
  for (const auto& entry : std::filesystem::directory_iterator(HLT_GOLDEN_DIR)) {
    if (entry.path().extension() != ".html") continue;
    ++cases;
    const std::filesystem::path golden = std::filesystem::path(entry.path()).replace_extension(".rtf");
    const std::filesystem::path fresh = golden.string() + ".new";
    const std::string actual = HighlightedRtf(ReadFile(entry.path()));
    const std::string expected = ReadFile(golden);
    if (actual == expected) {
      std::filesystem::remove(fresh);
      continue;
    }
    std::ofstream(fresh, std::ios::binary) << actual;
    const auto first = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end()).first;
    const int line = 1 + static_cast<int>(std::count(expected.begin(), first, '\n'));
    ADD_FAILURE_AT(golden.string().c_str(), line)
        << "differs from byte " << (first - expected.begin()) << " on; wrote " << fresh.string();
  }
  EXPECT_GT(cases, 0) << "no golden cases in " << HLT_GOLDEN_DIR;
}
