// html2rtf from the outside: output, standard input, failures and usage.

#include "RtfDocument.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const std::string Tool = HTML2RTF_PATH;

int RunTool(const std::string& arguments)
{
    const int status = std::system((Tool + " " + arguments).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folder = std::filesystem::temp_directory_path() /
                 ("html2rtf-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Folder);
        Input = Folder / "in.html";
        std::ofstream(Input, std::ios::binary) << Html;
    }
    void TearDown() override { std::filesystem::remove_all(Folder); }

    const std::string Html = "<p class=x>a &amp; b\r\n<!-- c -->";
    std::filesystem::path Folder;
    std::filesystem::path Input;
};

} // namespace

TEST_F(ToolTest, WritesTheHighlighterDocument)
{
    const std::filesystem::path out = Folder / "out.rtf";
    ASSERT_EQ(RunTool(Input.string() + " -o " + out.string()), 0);
    EXPECT_EQ(ReadFile(out), HighlightedRtf(Html));
    const std::filesystem::path piped = Folder / "piped.rtf";
    ASSERT_EQ(RunTool("- < " + Input.string() + " > " + piped.string()), 0);
    EXPECT_EQ(ReadFile(piped), HighlightedRtf(Html));
}

TEST_F(ToolTest, FailuresAndUsage)
{
    const std::string quiet = " 2> " + (Folder / "err.txt").string();
    EXPECT_EQ(RunTool((Folder / "missing.html").string() + quiet), 1);
    EXPECT_NE(ReadFile(Folder / "err.txt").find("cannot read"), std::string::npos);
    EXPECT_EQ(RunTool(Input.string() + " -o " + (Folder / "no" / "such" / "dir.rtf").string() + quiet), 1);
    EXPECT_NE(ReadFile(Folder / "err.txt").find("cannot write"), std::string::npos);
    EXPECT_EQ(RunTool(quiet), 2);
    EXPECT_EQ(RunTool(Input.string() + " " + Input.string() + quiet), 2);
    EXPECT_EQ(RunTool(Input.string() + " -o" + quiet), 2);
    EXPECT_EQ(RunTool("--bogus " + Input.string() + quiet), 2);
    EXPECT_NE(ReadFile(Folder / "err.txt").find("usage: html2rtf"), std::string::npos);
}
