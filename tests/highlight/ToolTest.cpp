// html2rtf from the outside: output, standard input, failures and usage.

#include "RtfDocument.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(Folder);
        std::ofstream(Folder / "in.html", std::ios::binary) << Html;
    }
    void TearDown() override { fs::remove_all(Folder); }

    // Runs html2rtf in the test's folder; standard error goes to err.txt.
    int RunTool(const std::string& arguments)
    {
        const std::string command = "cd '" + Folder.string() + "' && '" HTML2RTF_PATH "' " + arguments + " 2> err.txt";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Errors() { return ReadFile(Folder / "err.txt"); }

    const std::string Html = "<p class=x>a &amp; b\r\n<!-- c -->";
    const fs::path Folder = fs::temp_directory_path() /
                            ("html2rtf-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
};

} // namespace

TEST_F(ToolTest, WritesTheHighlighterDocument)
{
    ASSERT_EQ(RunTool("in.html -o out.rtf"), 0);
    EXPECT_EQ(ReadFile(Folder / "out.rtf"), HighlightedRtf(Html));
    ASSERT_EQ(RunTool("- < in.html > piped.rtf"), 0);
    EXPECT_EQ(ReadFile(Folder / "piped.rtf"), HighlightedRtf(Html));
}

TEST_F(ToolTest, FailuresAndUsage)
{
    EXPECT_EQ(RunTool("missing.html"), 1);
    EXPECT_NE(Errors().find("cannot read missing.html"), std::string::npos);
    EXPECT_EQ(RunTool("in.html -o no/such/dir.rtf"), 1);
    EXPECT_NE(Errors().find("cannot write no/such/dir.rtf"), std::string::npos);
    for (const char* usage : {"", "in.html in.html", "in.html -o", "--bogus in.html"}) {
        EXPECT_EQ(RunTool(usage), 2) << usage;
        EXPECT_NE(Errors().find("usage: html2rtf"), std::string::npos);
    }
}
