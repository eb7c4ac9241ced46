#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>
#include <future>

#include "services/RegularFile.h"
#include "services/VornError.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TestSupport.h"

namespace {

class RegularFileTest : public testing::Test {
protected:
  QString Path(const QString& name) const { return FFolder.filePath(name); }
  QString Write(const QString& name, const QByteArray& bytes) const {
    QFile file(Path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return Path(name);
  }
  QByteArray Read(const QString& path) const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
  }
  static QString Failure(const QString& path, std::string_view bytes,
                         void (*write)(const QString&, std::string_view) = &TRegularFile::Write) {
    try {
      write(path, bytes);
    } catch (const EVornError& error) {
      return error.Message();
    }
    return {};
  }
  static mode_t Kind(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & S_IFMT : 0;
  }
  // A character device of our own, as the null device; empty where devices cannot be made.
  QString Device() const {
    const QString path = Path("device");
    if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) return {};
    return path;
  }
  QStringList LeftOver() const {
    return QDir(FFolder.path()).entryList({"*.vornsave-*"}, QDir::Files | QDir::Hidden);
  }

  QTemporaryDir FFolder;
};

TEST_F(RegularFileTest, ReadsRegularFilesAndRefusesEverythingElseAtOnce) {
  EXPECT_EQ(TRegularFile::Read(Write("page.htm", "<p>x")), QByteArray("<p>x"));
  EXPECT_EQ(TRegularFile::Read(Write("empty.htm", "")), QByteArray());
  ASSERT_TRUE(QFile::link(Path("page.htm"), Path("link.htm")));
  EXPECT_EQ(TRegularFile::Read(Path("link.htm")), QByteArray("<p>x"));

  // A FIFO with no writer would block an ordinary open for as long as none comes.
  const QString fifo = Path("fifo");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  auto reading = std::async(std::launch::async, [&] { return TRegularFile::Read(fifo); });
  if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    QFile writer(fifo);
    writer.open(QIODevice::WriteOnly);
    FAIL() << "reading a FIFO waited for a writer";
  }
  EXPECT_FALSE(reading.get());

  ASSERT_TRUE(QFile::link("/dev/zero", Path("zero.htm")));
  EXPECT_FALSE(TRegularFile::Read(Path("zero.htm")));
  EXPECT_FALSE(TRegularFile::Read(FFolder.path()));
  EXPECT_FALSE(TRegularFile::Read(Path("missing.htm")));
  const QString device = Device();
  if (device.isEmpty())
    std::printf("[ SKIPPED  ] no device node: mknod is not permitted here\n");
  else
    EXPECT_FALSE(TRegularFile::Read(device));
}

TEST_F(RegularFileTest, RefusesAFileOverTheSizeLimitBeforeReadingIt) {
  QFile sparse(Path("big.htm"));
  ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
  ASSERT_TRUE(sparse.resize(TRegularFile::MaxSize + 1));
  sparse.close();
  EXPECT_FALSE(TRegularFile::Read(Path("big.htm")));
}

// Where the folder takes no new file (read-only to the user, or immutable even to root), an
// existing file is still saved, written in place.
TEST_F(RegularFileTest, AFileInAFolderThatTakesNoNewFileIsWrittenInPlace) {
  const QString page = Write("page.htm", "old text");
  const QByteArray folder = QFile::encodeName(FFolder.path());
  const bool root = ::geteuid() == 0;
  const auto lock = [&](bool on) {
    if (!root) return ::chmod(folder.constData(), on ? 0555 : 0755) == 0;
    return std::system(
               ("chattr " + QByteArray(on ? "+i '" : "-i '") + folder + "' 2>/dev/null").constData()) == 0;
  };
  if (!lock(true)) GTEST_SKIP() << "the folder cannot be made to refuse new files here";
  const QString failure = Failure(page, "new text");
  const bool created = QFile(Path("other.htm")).open(QIODevice::WriteOnly);
  lock(false);
  EXPECT_FALSE(created);
  EXPECT_EQ(failure, "");
  EXPECT_EQ(Read(page), "new text");
}

TEST_F(RegularFileTest, AWriteNeverReplacesWhatIsNotARegularFile) {
  const QString fifo = Path("fifo");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  EXPECT_EQ(Failure(fifo, "text"), "Cannot create file " + fifo);
  EXPECT_EQ(Kind(fifo), mode_t(S_IFIFO));
  EXPECT_EQ(Failure(FFolder.path(), "text"), "Cannot create file " + FFolder.path());
  const QString device = Device();
  if (device.isEmpty()) {
    std::printf("[ SKIPPED  ] no device node: mknod is not permitted here\n");
  } else {
    EXPECT_EQ(Failure(device, "text"), "Cannot create file " + device);
    EXPECT_EQ(Kind(device), mode_t(S_IFCHR));
  }
  EXPECT_TRUE(LeftOver().isEmpty());
}

TEST_F(RegularFileTest, AFileWithSeveralNamesIsWrittenInPlaceAndALinkStaysALink) {
  const QString page = Write("page.htm", "old text");
  ASSERT_EQ(::link(QFile::encodeName(page).constData(), QFile::encodeName(Path("other.htm")).constData()), 0);
  ASSERT_TRUE(QFile::link(page, Path("symlink.htm")));
  struct stat before {};
  ::stat(QFile::encodeName(page).constData(), &before);

  TRegularFile::Write(page, "new and longer text");
  EXPECT_EQ(Read(page), "new and longer text");
  EXPECT_EQ(Read(Path("other.htm")), "new and longer text");
  TRegularFile::Write(Path("symlink.htm"), "short");
  EXPECT_EQ(Read(Path("other.htm")), "short");
  EXPECT_EQ(Kind(Path("symlink.htm")), mode_t(S_IFLNK));
  struct stat after {};
  ::stat(QFile::encodeName(page).constData(), &after);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_nlink, nlink_t(2));
  EXPECT_TRUE(LeftOver().isEmpty());

  const QString single = Write("single.htm", "one");
  ASSERT_TRUE(QFile::link(single, Path("single-link.htm")));
  TRegularFile::Write(Path("single-link.htm"), "two");
  EXPECT_EQ(Read(single), "two");
  EXPECT_EQ(Kind(Path("single-link.htm")), mode_t(S_IFLNK));
}

// A page below and one above the 16 KB a buffered writer holds before its first write.
const std::string Pages[] = {std::string(10 * 1024, 'n'), std::string(40 * 1024, 'n')};

// A disk that is full, or fills under the write, fails it with the file's name, for a document
// and for the program's own file alike, and the old text stays.
TEST_F(RegularFileTest, AFullDiskIsReportedWithThePathAndTheOldTextStays) {
  TSmallFileSystem disk;
  if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
  const QString page = QString::fromStdString(disk.Path("page.htm"));
  const QString scratch = QString::fromStdString(disk.Path("temp.vnx"));
  WriteFileBytes(page, "old text");
  WriteFileBytes(scratch, "old text");
  ASSERT_TRUE(disk.Fill(0));
  for (const std::string& text : Pages) {
    EXPECT_EQ(Failure(page, text), "Cannot create file " + page);
    EXPECT_EQ(Failure(scratch, text, &TRegularFile::WriteOwn), "Cannot create file " + scratch);
    EXPECT_EQ(Read(page), "old text");
    EXPECT_EQ(Read(scratch), "old text");
  }
}

// Writes fail at a file size limit here, as on a disk that fills.
TEST_F(RegularFileTest, AWriteCutShortIsReportedWithThePathAndTheOldTextStays) {
  const QString single = Write("single.htm", "old text");
  const QString linked = Write("linked.htm", "old text");
  ASSERT_EQ(::link(QFile::encodeName(linked).constData(), QFile::encodeName(Path("other.htm")).constData()),
            0);
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit unlimited{};
  ::getrlimit(RLIMIT_FSIZE, &unlimited);
  for (const std::string& text : Pages) {
    const rlimit limit{text.size() / 3, unlimited.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const QString failures[] = {Failure(single, text), Failure(linked, text)};
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    EXPECT_EQ(failures[0], "Cannot create file " + single);
    EXPECT_EQ(failures[1], "Cannot create file " + linked);
    EXPECT_EQ(Read(single), "old text");
    EXPECT_EQ(Read(Path("other.htm")), "old text");
    EXPECT_TRUE(LeftOver().isEmpty());
  }
  std::signal(SIGXFSZ, SIG_DFL);
}

// A file's stamp changes whenever it is written, in place or by a new file put in its place.
TEST_F(RegularFileTest, AStampChangesWhenAnotherProgramWritesTheFile) {
  const QString page = Write("page.htm", "text");
  const std::optional<TFileStamp> opened = TRegularFile::Stamp(page);
  ASSERT_TRUE(opened);
  EXPECT_EQ(TRegularFile::Stamp(page), opened);
  Write("page.htm", "text, and more");  // in place, as many editors write
  EXPECT_NE(TRegularFile::Stamp(page), opened);
  const std::optional<TFileStamp> rewritten = TRegularFile::Stamp(page);
  TRegularFile::Write(page, "text, and more");  // replaced: a new file of the same size
  EXPECT_NE(TRegularFile::Stamp(page), rewritten);
  EXPECT_FALSE(TRegularFile::Stamp(Path("missing.htm")));
}

}  // namespace
