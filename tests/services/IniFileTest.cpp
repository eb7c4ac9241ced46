#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "services/IniFile.h"
#include "services/RegularFile.h"
#include "services/VornError.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TestSupport.h"

namespace {

class IniFileTest : public testing::Test {
protected:
  QString Write(const QByteArray& bytes) {
    QFile file(Path());
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return Path();
  }
  QByteArray Read() const {
    QFile file(Path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QString Path() const { return FFolder.filePath("vorn.ini"); }
  QTemporaryDir FFolder;
};

TEST_F(IniFileTest, ReadsNamesWhateverTheirCaseAndIntegersByTheSharedConversion) {
  const TIniFile ini(Write(
      "[vorn INTERFACE]\nheight=0x200\nWidth=$10\nLeft= -5\nTop=abc\nName=" + QByteArray(3000, 'x') + "\n"));
  EXPECT_EQ(ini.ReadInteger("Vorn Interface", "Height", 0), 512);
  EXPECT_EQ(ini.ReadInteger("Vorn Interface", "Width", 0), 16);
  EXPECT_EQ(ini.ReadInteger("Vorn Interface", "Left", 0), -5);
  EXPECT_EQ(ini.ReadInteger("Vorn Interface", "Top", 7), 7);
  EXPECT_EQ(ini.ReadInteger("Vorn Interface", "Missing", 7), 7);
  EXPECT_EQ(ini.ReadString("Vorn Interface", "Name", {}).size(), 2047);
  EXPECT_EQ(ini.ReadString("Nowhere", "Name", "fallback"), "fallback");
}

// One pair of quotes around a value is taken off, and of a key given twice the first counts; a
// key the program writes is written once.
TEST_F(IniFileTest, QuotedValuesAndKeysGivenTwiceReadAsThePlatformsServiceReadsThem) {
  TIniFile ini(
      Write("[Vorn options]\nWord Wrap=\"1\"\nName='x y'\nHalf=\"1\nEmpty=\"\"\nKey=first\nkey=second\n"));
  EXPECT_EQ(ini.ReadInteger("Vorn options", "Word Wrap", 0), 1);
  EXPECT_EQ(ini.ReadString("Vorn options", "Name", {}), "x y");
  EXPECT_EQ(ini.ReadString("Vorn options", "Half", {}), "\"1");
  EXPECT_EQ(ini.ReadString("Vorn options", "Empty", "fallback"), "");
  EXPECT_EQ(ini.ReadString("Vorn options", "Key", {}), "first");
  ini.WriteString("Vorn options", "Key", "third");
  ini.UpdateFile();
  EXPECT_EQ(TIniFile(Path()).ReadString("Vorn options", "Key", {}), "third");
  EXPECT_FALSE(Read().contains("second")) << Read().toStdString();  // a key written is written once
}

TEST_F(IniFileTest, WritesKeysInOrderAndKeepsTheRestOfTheFile) {
  Write("; the user's\n[Other]\nkeep=this\n[Vorn options]\nWord Wrap=0\n");
  TIniFile ini(Path());
  ini.WriteString("vorn options", "Word Wrap", "1");
  ini.WriteString("Vorn options", "Working Offline", "0");
  ini.WriteInteger("Vorn Interface", "Height", -3);
  ini.UpdateFile();
  const QByteArray written = Read();
  EXPECT_TRUE(written.contains("; the user's"));
  EXPECT_TRUE(written.contains("[Other]\nkeep=this"));
  EXPECT_TRUE(written.contains("[Vorn options]\nWord Wrap=1\nWorking Offline=0"));
  EXPECT_TRUE(written.contains("[Vorn Interface]\nHeight=-3"));
}

TEST_F(IniFileTest, AFileThatCannotBeWrittenIsReportedAndStaysAsItWas) {
  const QString missing = FFolder.filePath("no/such/vorn.ini");
  TIniFile lost(missing);
  lost.WriteString("Vorn options", "Word Wrap", "1");
  try {
    lost.UpdateFile();
    FAIL() << "no failure";
  } catch (const EVornError& error) {
    EXPECT_EQ(error.Message(), "Unable to write to " + missing);
  }
  ASSERT_TRUE(QDir(FFolder.path()).mkdir("folder.ini"));
  TIniFile folder(FFolder.filePath("folder.ini"));
  folder.WriteString("Vorn options", "Word Wrap", "1");
  EXPECT_THROW(folder.UpdateFile(), EVornError);
  EXPECT_TRUE(QFileInfo(FFolder.filePath("folder.ini")).isDir());
}

QString UpdateFailure(TIniFile& ini) {
  try {
    ini.UpdateFile();
  } catch (const EVornError& error) {
    return error.Message();
  }
  return {};
}

// A settings file that does not fit on the disk, with a value below or above the 16 KB a
// buffered writer holds, is reported and stays as it was.
TEST_F(IniFileTest, AFullDiskIsReportedAndTheOldFileStays) {
  TSmallFileSystem disk;
  if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
  const QString path = QString::fromStdString(disk.Path("vorn.ini"));
  const QByteArray old = "[Other]\nkeep=this\n";
  WriteFileBytes(path, old);
  ASSERT_TRUE(disk.Fill(0));
  for (const int size : {10 * 1024, 40 * 1024}) {
    TIniFile ini(path);
    ini.WriteString("Vorn options", "Note", QString(size, 'x'));
    EXPECT_EQ(UpdateFailure(ini), "Unable to write to " + path);
    EXPECT_EQ(ReadFileBytes(path), old);
  }
}

// A file the program cannot read whole would lose what it could not read if written: one over
// the size limit, one holding a NUL and one it may not read are reported and left as they are.
TEST_F(IniFileTest, AFileThatCannotBeReadWholeIsNeverWritten) {
  const QByteArray withNul = QByteArray("[Vorn options]\nWord Wrap=1\n") + '\0' + "[Other]\nkeep=this\n";
  Write(withNul);
  TIniFile nul(Path());
  EXPECT_FALSE(nul.IsReadable());
  nul.WriteString("Vorn options", "Word Wrap", "0");
  EXPECT_EQ(UpdateFailure(nul), "Unable to write to " + Path());
  EXPECT_EQ(Read(), withNul);

  QFile big(Path());
  ASSERT_TRUE(big.resize(TRegularFile::MaxSize + 1));
  const std::optional<TFileStamp> before = TRegularFile::Stamp(Path());
  TIniFile large(Path());
  large.WriteString("Vorn options", "Word Wrap", "0");
  EXPECT_EQ(UpdateFailure(large), "Unable to write to " + Path());
  EXPECT_EQ(TRegularFile::Stamp(Path()), before);

  Write("[Other]\nkeep=this\n");
  ASSERT_TRUE(QFile::setPermissions(Path(), QFile::WriteOwner));
  TIniFile unreadable(Path());
  const bool readable = unreadable.IsReadable();  // root reads it all the same
  QFile::setPermissions(Path(), QFile::ReadOwner | QFile::WriteOwner);
  if (readable) return;
  unreadable.WriteString("Vorn options", "Word Wrap", "0");
  EXPECT_EQ(UpdateFailure(unreadable), "Unable to write to " + Path());
  EXPECT_EQ(Read(), "[Other]\nkeep=this\n");
}

}  // namespace
