// html2rtf from the outside: output, standard input, failures and usage.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/highlight/HighlightedRtf.h"
#include "tests/highlight/TestFiles.h"
#include "tests/support/SmallFileSystem.h"

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
  for (const char* usage : {"", "in.html in.html", "in.html -o", "in.html -o ''", "--bogus in.html"}) {
    EXPECT_EQ(RunTool(usage), 2) << usage;
    EXPECT_NE(Errors().find("usage: html2rtf"), std::string::npos);
  }
}

// A write that fails part way (here at a file size limit, as on a disk that fills), for RTF
// below and above 16 KB, leaves OUT whole.
TEST_F(ToolTest, AFailedWriteKeepsTheOldOutput) {
  std::ofstream(Folder / "small.html", std::ios::binary) << std::string(10 * 1024, 'x');
  std::ofstream(Folder / "big.html", std::ios::binary) << std::string(200000, 'x');
  std::ofstream(Folder / "out.rtf", std::ios::binary) << "old output";
  EXPECT_EQ(RunTool("small.html -o out.rtf", "trap '' XFSZ; ulimit -f 4; "), 1);
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

// Pages whose RTF is below and above the 16 KB a buffered writer holds before its first write
// meet a disk with no room, or a page of it: each fails, and OUT keeps its old text.
TEST_F(ToolTest, AFullDiskFailsTheWriteAndKeepsTheOldOutput) {
  TSmallFileSystem disk;
  if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
  const std::string out = disk.Path("out.rtf");
  std::ofstream(out, std::ios::binary) << "old output";
  std::ofstream(Folder / "small.html", std::ios::binary) << std::string(8 * 1024, 'x');
  std::ofstream(Folder / "large.html", std::ios::binary) << std::string(40 * 1024, 'x');
  for (const std::size_t free : {std::size_t(0), std::size_t(4096)}) {
    ASSERT_TRUE(disk.Fill(free));
    for (const char* page : {"small.html", "large.html"}) {
      EXPECT_EQ(RunTool(std::string(page) + " -o " + out), 1) << page << " into " << free;
      EXPECT_NE(Errors().find("cannot write " + out + ": No space left on device"), std::string::npos);
      EXPECT_EQ(ReadFile(out), "old output");
    }
  }
}

// OUT is never the input, by its own name or another: the page would be lost to its RTF. A link
// as OUT is followed, and the file it names gets the RTF while the link stays.
TEST_F(ToolTest, TheInputIsNeverReplacedAndALinkIsWrittenThrough) {
  fs::create_hard_link(Folder / "in.html", Folder / "other-name.html");
  fs::create_symlink("in.html", Folder / "link.html");
  for (const char* out : {"in.html", "./in.html", "other-name.html", "link.html"}) {
    EXPECT_EQ(RunTool(std::string("in.html -o ") + out), 1) << out;
    EXPECT_NE(Errors().find("is the input"), std::string::npos) << out;
    EXPECT_EQ(RunTool(std::string("- -o ") + out + " < in.html"), 1) << out;
  }
  EXPECT_EQ(ReadFile(Folder / "in.html"), Html);

  std::ofstream(Folder / "target.rtf", std::ios::binary) << "old output";
  fs::create_symlink("target.rtf", Folder / "out.rtf");
  ASSERT_EQ(RunTool("in.html -o out.rtf"), 0);
  EXPECT_TRUE(fs::is_symlink(Folder / "out.rtf"));
  EXPECT_EQ(ReadFile(Folder / "target.rtf"), HighlightedRtf(Html));
}
