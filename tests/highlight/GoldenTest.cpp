// Longer inputs against reviewed documents: each golden/NAME.html beside
// golden/NAME.rtf. A mismatch writes NAME.rtf.new for review; see README.md.

#include "RtfDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TDifference {
    int Line; // counted by LF, from 1
    std::size_t Byte;
};

TDifference FirstDifference(const std::string& expected, const std::string& actual)
{
    const auto mismatch = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
    return {1 + static_cast<int>(std::count(expected.begin(), mismatch.first, '\n')),
            static_cast<std::size_t>(mismatch.first - expected.begin())};
}

} // namespace

TEST(GoldenTest, DocumentsMatchTheReviewedOnes)
{
    const std::filesystem::path folder = HLT_GOLDEN_DIR;
    std::vector<std::filesystem::path> cases;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".html")
            cases.push_back(entry.path());
    ASSERT_FALSE(cases.empty()) << "no golden cases in " << folder;
    for (const auto& html : cases) {
        std::filesystem::path golden = html;
        golden.replace_extension(".rtf");
        const std::string actual = HighlightedRtf(ReadFile(html));
        const std::string expected = std::filesystem::exists(golden) ? ReadFile(golden) : std::string();
        std::filesystem::path fresh = golden;
        fresh += ".new";
        if (actual == expected) {
            std::filesystem::remove(fresh);
            continue;
        }
        std::ofstream(fresh, std::ios::binary) << actual;
        const TDifference difference = FirstDifference(expected, actual);
        ADD_FAILURE_AT(golden.string().c_str(), difference.Line)
            << "the document differs from byte " << difference.Byte << " on; wrote " << fresh.string();
    }
}
