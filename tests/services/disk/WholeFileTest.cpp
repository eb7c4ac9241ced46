#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "services/disk/WholeFile.h"
#include "tests/support/SmallFileSystem.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "(unreadable)";
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The pages below and above the 16 KB that a buffered writer holds before its first write.
const std::size_t Sizes[] = {10 * 1024, 40 * 1024};

class WholeFileTest : public testing::Test {
protected:
  void SetUp() override {
    std::string folder = (fs::temp_directory_path() / "vorn-whole-file-XXXXXX").string();
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    FFolder = folder;
  }
  void TearDown() override { fs::remove_all(FFolder); }
  std::string Path(const std::string& name) const { return FFolder + '/' + name; }
  // What a write left beside its targets in a folder.
  static std::vector<std::string> LeftOver(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.path().filename().string().find(WriteSuffix) != std::string::npos)
        names.push_back(entry.path().filename().string());
    return names;
  }
  static void Link(const std::string& from, const std::string& to) {
    ASSERT_EQ(::link(from.c_str(), to.c_str()), 0) << std::strerror(errno);
  }

  std::string FFolder;
};

// Each write, the flush of the last part included, is checked: a disk with no room or only a
// page of it fails the write at any size, a file with one name or two keeps its old text, and
// nothing is left behind.
TEST_F(WholeFileTest, AFullDiskFailsTheWriteAndLeavesTheOldTextWhole) {
  TSmallFileSystem disk;
  if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
  const std::string single = disk.Path("single.htm"), linked = disk.Path("linked.htm");
  const std::string scratch = disk.Path("temp.vnx");
  for (const std::string& path : {single, linked, scratch}) WriteFile(path, "old text");
  Link(linked, disk.Path("other.htm"));
  for (const std::size_t free : {std::size_t(0), std::size_t(4096)}) {
    ASSERT_TRUE(disk.Fill(free)) << free << " bytes free, not " << disk.Free();
    for (const std::size_t size : Sizes) {
      const std::string text(size, 'n');
      EXPECT_EQ(WriteWholeFile(single, text, wtNamed), ENOSPC) << size << " into " << free;
      EXPECT_EQ(WriteWholeFile(linked, text, wtNamed), ENOSPC) << size << " into " << free;
      EXPECT_EQ(WriteWholeFile(scratch, text, wtOwn), ENOSPC) << size << " into " << free;
      EXPECT_EQ(WriteWholeFile(disk.Path("new.htm"), text, wtNamed), ENOSPC) << size << " into " << free;
      for (const std::string& path : {single, linked, disk.Path("other.htm"), scratch})
        EXPECT_EQ(ReadFile(path), "old text") << path << ", " << size << " into " << free;
      EXPECT_FALSE(fs::exists(disk.Path("new.htm")));
      EXPECT_EQ(LeftOver(disk.Path(".")), std::vector<std::string>());
    }
  }
}

// A file size limit cuts each write short where it falls, as a disk that fills meanwhile does.
TEST_F(WholeFileTest, AWriteCutShortFailsAndLeavesTheOldTextWhole) {
  const std::string single = Path("single.htm"), linked = Path("linked.htm"), scratch = Path("temp.vnx");
  for (const std::string& path : {single, linked, scratch}) WriteFile(path, "old text");
  Link(linked, Path("other.htm"));
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit unlimited{};
  ::getrlimit(RLIMIT_FSIZE, &unlimited);
  for (const std::size_t size : Sizes) {
    const rlimit limit{size / 3, unlimited.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const std::string text(size, 'n');
    const int failures[] = {WriteWholeFile(single, text, wtNamed), WriteWholeFile(linked, text, wtNamed),
                            WriteWholeFile(scratch, text, wtOwn)};
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    for (const int failure : failures) EXPECT_EQ(failure, EFBIG) << size;
    for (const std::string& path : {single, linked, Path("other.htm"), scratch})
      EXPECT_EQ(ReadFile(path), "old text") << path << ", " << size;
    EXPECT_EQ(LeftOver(FFolder), std::vector<std::string>());
  }
  std::signal(SIGXFSZ, SIG_DFL);
}

// The program's own file is only ever replaced: what someone else put at its name, a link to
// their file, to a FIFO or to nothing, a FIFO, or a second name of their file, is never written
// through.
TEST_F(WholeFileTest, AFileOfTheProgramsOwnIsNeverWrittenThroughWhatStandsAtItsName) {
  const std::string outside = Path("outside.txt");
  WriteFile(outside, "the user's file");
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  fs::create_directory(Path("folder"));
  fs::create_symlink(outside, Path("folder/to-file.vnx"));
  fs::create_symlink(Path("fifo"), Path("folder/to-fifo.vnx"));
  fs::create_symlink(Path("missing.txt"), Path("folder/dangling.vnx"));
  ASSERT_EQ(::mkfifo(Path("folder/fifo.vnx").c_str(), 0600), 0);
  for (const char* name : {"to-file.vnx", "to-fifo.vnx", "dangling.vnx", "fifo.vnx"})
    EXPECT_EQ(WriteWholeFile(Path("folder/") + name, "page", wtOwn), EEXIST) << name;
  EXPECT_EQ(WriteWholeFile(Path("folder"), "page", wtOwn), EISDIR);
  EXPECT_EQ(ReadFile(outside), "the user's file");
  EXPECT_FALSE(fs::exists(Path("missing.txt")));
  EXPECT_TRUE(fs::is_symlink(Path("folder/to-file.vnx")));

  Link(outside, Path("folder/hard.vnx"));
  EXPECT_EQ(WriteWholeFile(Path("folder/hard.vnx"), "page", wtOwn), 0);
  EXPECT_EQ(ReadFile(Path("folder/hard.vnx")), "page");
  EXPECT_EQ(ReadFile(outside), "the user's file");
  EXPECT_EQ(LeftOver(Path("folder")), std::vector<std::string>());
}

// A name the user gave is followed through a chain of links, relative ones included, and the
// file at its end is replaced while every link stays.
TEST_F(WholeFileTest, ANamedLinkIsFollowedToTheFileItNames) {
  fs::create_directory(Path("site"));
  WriteFile(Path("site/page.htm"), "old");
  fs::create_symlink("site/page.htm", Path("first.htm"));
  fs::create_symlink("first.htm", Path("second.htm"));
  EXPECT_EQ(WriteWholeFile(Path("second.htm"), "new", wtNamed), 0);
  EXPECT_EQ(ReadFile(Path("site/page.htm")), "new");
  EXPECT_TRUE(fs::is_symlink(Path("first.htm")));
  EXPECT_TRUE(fs::is_symlink(Path("second.htm")));
  fs::create_symlink("loop.htm", Path("loop.htm"));
  EXPECT_NE(WriteWholeFile(Path("loop.htm"), "new", wtNamed), 0);
  EXPECT_TRUE(fs::is_symlink(Path("loop.htm")));
}

// A file with two names is rewritten in place. The program is killed by the file size limit
// once the rewrite's first write is done: the file then holds part of the new text, and the
// whole old text is in the backup beside it.
TEST_F(WholeFileTest, ARewriteInPlaceKilledHalfWayLeavesTheOldTextInABackup) {
  const std::string old(6000, 'o'), text(20000, 'n');
  const std::string page = Path("page.htm");
  WriteFile(page, old);
  Link(page, Path("other.htm"));
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{8192, RLIM_INFINITY};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    WriteWholeFile(page, text, wtNamed);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the writer was not stopped half-way";
  EXPECT_EQ(ReadFile(page), text.substr(0, 8192));
  const std::vector<std::string> backups = LeftOver(FFolder);
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0].rfind("page.htm.vornsave-", 0), 0u);
  EXPECT_EQ(ReadFile(Path(backups[0])), old);

  // A rewrite that ends removes its backup.
  fs::remove(Path(backups[0]));
  EXPECT_EQ(WriteWholeFile(page, text, wtNamed), 0);
  EXPECT_EQ(ReadFile(Path("other.htm")), text);
  EXPECT_EQ(LeftOver(FFolder), std::vector<std::string>());
}

}  // namespace
