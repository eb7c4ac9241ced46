// html2rtf from the outside: output, standard input, failures and usage.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "HighlightedRtf.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;

class ToolTest : public ::testing::Test {
protected:
  void SetUp() override {
    fs::create_directories(Folder);
    std::ofstream(Folder / "in.html", std::ios::binary) << Html;
  }
  void TearDown() override { fs::remove_all(Folder); }

  // Runs html2rtf in the test's folder after the shell commands in setUp; standard error goes
  // to err.txt.
  int RunTool(const std::string& arguments, const std::string& setUp = {}) {
    const std::string command =
        "cd '" + Folder.string() + "' && " + setUp + "'" HTML2RTF_PATH "' " + arguments + " 2> err.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Errors() { return ReadFile(Folder / "err.txt"); }

  const std::string Html = "<p class=x>a &amp; b\r\n<!-- c -->";
  const fs::path Folder =
      fs::temp_directory_path() /
      ("html2rtf-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
};

}  // namespace

TEST_F(ToolTest, WritesTheHighlighterDocument) {
  ASSERT_EQ(RunTool("in.html -o out.rtf"), 0);
  EXPECT_EQ(ReadFile(Folder / "out.rtf"), HighlightedRtf(Html));
  ASSERT_EQ(RunTool("- < in.html > piped.rtf"), 0);
  EXPECT_EQ(ReadFile(Folder / "piped.rtf"), HighlightedRtf(Html));
}

TEST_F(ToolTest, FailuresAndUsage) {
  EXPECT_EQ(RunTool("missing.html"), 1);
  EXPECT_NE(Errors().find("cannot read missing.html"), std::string::npos);
  EXPECT_EQ(RunTool("in.html -o no/such/dir.rtf"), 1);
  EXPECT_NE(Errors().find("cannot write no/such/dir.rtf"), std::string::npos);
  for (const char* usage : {"", "in.html in.html", "in.html -o", "--bogus in.html"}) {
    EXPECT_EQ(RunTool(usage), 2) << usage;
    EXPECT_NE(Errors().find("usage: html2rtf"), std::string::npos);
  }
}

// A write that fails part way (here at a file size limit, as on a full disk) leaves OUT whole.
TEST_F(ToolTest, AFailedWriteKeepsTheOldOutput) {
  std::ofstream(Folder / "big.html", std::ios::binary) << std::string(200000, 'x');
  std::ofstream(Folder / "out.rtf", std::ios::binary) << "old output";
  EXPECT_EQ(RunTool("big.html -o out.rtf", "trap '' XFSZ; ulimit -f 64; "), 1);
  EXPECT_NE(Errors().find("cannot write out.rtf"), std::string::npos);
  EXPECT_EQ(ReadFile(Folder / "out.rtf"), "old output");
  for (const auto& entry : fs::directory_iterator(Folder))
    EXPECT_EQ(entry.path().filename().string().rfind("out.rtf.", 0), std::string::npos) << entry.path();

  EXPECT_EQ(RunTool("in.html -o /dev/full"), 1);
  EXPECT_NE(Errors().find("cannot write /dev/full"), std::string::npos);
  ASSERT_EQ(RunTool("in.html -o out.rtf"), 0);
  EXPECT_EQ(ReadFile(Folder / "out.rtf"), HighlightedRtf(Html));
}
