#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "IniFile.h"
#include "VornError.h"

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

}  // namespace
