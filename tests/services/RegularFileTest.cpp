#include <gmock/gmock.h>
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

#include "RegularFile.h"
#include "VornError.h"

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
  static QString Failure(const QString& path, std::string_view bytes) {
    try {
      TRegularFile::Write(path, bytes);
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

// Writes fail at a file size limit here, as on a full disk: the old text is never lost.
class RegularFileLimitTest : public RegularFileTest {
protected:
  QString FailureUnderLimit(const QString& path, std::string_view bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{16 * 1024, limit.rlim_max};
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString failure = Failure(path, bytes);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_DFL);
    return failure;
  }
  void Link(const QString& from, const QString& to) {
    ASSERT_EQ(::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()), 0);
  }
};

TEST_F(RegularFileLimitTest, AReplacedOrLinkedFileThatCannotGrowKeepsItsOldText) {
  const QString single = Write("single.htm", "old text");
  const QString linked = Write("linked.htm", "old text");
  Link(linked, Path("other.htm"));
  const std::string large(64 * 1024, 'x');
  EXPECT_EQ(FailureUnderLimit(single, large), "Failed to Save Stream");
  // Refused before writing where space can be reserved, else written back after the failure.
  EXPECT_THAT(FailureUnderLimit(linked, large).toStdString(),
              testing::AnyOf("Cannot create file " + linked.toStdString(), "Failed to Save Stream"));
  EXPECT_EQ(Read(single), "old text");
  EXPECT_EQ(Read(linked), "old text");
  EXPECT_EQ(Read(Path("other.htm")), "old text");
  EXPECT_TRUE(LeftOver().isEmpty());
}

}  // namespace
