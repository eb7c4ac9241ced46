#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "services/IniFile.h"
#include "services/SettingsLocation.h"
#include "tests/support/TestSupport.h"

namespace {

class SettingsLocationTest : public testing::Test {
protected:
  QString Path(const QString& name) const { return FFolder.filePath(name); }
  QTemporaryDir FFolder;
};

// A writable program folder keeps the file beside the program; a folder that is not (a system
// install) reads the user's own file, or the administrator's beside the program until the user
// has one, and always writes the user's own.
TEST_F(SettingsLocationTest, TheFileIsBesideAWritableProgramElseTheUsersOwn) {
  const QString program = Path("program"), config = Path("config");
  TSettingsLocation location = SettingsLocation(program, true, config);
  EXPECT_EQ(location.ReadPath, program + "/vorn.ini");
  EXPECT_EQ(location.WritePath, program + "/vorn.ini");

  location = SettingsLocation(program, false, config);
  EXPECT_EQ(location.ReadPath, program + "/vorn.ini");
  EXPECT_EQ(location.WritePath, config + "/vorn/vorn.ini");

  ASSERT_TRUE(QDir().mkpath(config + "/vorn"));
  WriteFileBytes(config + "/vorn/vorn.ini", "[Vorn options]\nWord Wrap=1\n");
  location = SettingsLocation(program, false, config);
  EXPECT_EQ(location.ReadPath, config + "/vorn/vorn.ini");
  EXPECT_EQ(location.WritePath, config + "/vorn/vorn.ini");
}

// The user's first write makes their folders, private to them, and carries over what the
// administrator's file holds beyond the keys written; that file stays as it was. An
// administrator's file that cannot be read does not keep the user from writing their own.
TEST_F(SettingsLocationTest, TheFirstWriteMakesTheUsersFoldersAndKeepsTheAdministratorsDefaults) {
  const QString program = Path("program"), config = Path("home/.config");
  ASSERT_TRUE(QDir().mkpath(program));
  const QByteArray defaults = "; set by the administrator\n[Vorn options]\nWorking Offline=1\nWord Wrap=0\n";
  WriteFileBytes(program + "/vorn.ini", defaults);
  const TSettingsLocation location = SettingsLocation(program, false, config);
  TIniFile ini(location.ReadPath);
  EXPECT_EQ(ini.ReadString("Vorn options", "Working Offline", {}), "1");
  ini.SetWritePath(location.WritePath);
  ini.WriteString("Vorn options", "Word Wrap", "1");
  MakeSettingsFolder(location);
  ini.UpdateFile();
  for (const QString& folder : {Path("home/.config"), Path("home/.config/vorn")}) {
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u) << folder.toStdString();
  }
  const TIniFile written(location.WritePath);
  EXPECT_EQ(written.ReadString("Vorn options", "Working Offline", {}), "1");
  EXPECT_EQ(written.ReadString("Vorn options", "Word Wrap", {}), "1");
  EXPECT_TRUE(ReadFileBytes(location.WritePath).startsWith("; set by the administrator\n"));
  EXPECT_EQ(ReadFileBytes(program + "/vorn.ini"), defaults);

  WriteFileBytes(program + "/vorn.ini", QByteArray("[Vorn options]\nWord\0 Wrap=1\n", 27));
  ASSERT_TRUE(QFile::remove(location.WritePath));
  TIniFile unreadable(program + "/vorn.ini");
  EXPECT_FALSE(unreadable.IsReadable());
  unreadable.SetWritePath(location.WritePath);
  unreadable.WriteString("Vorn options", "Word Wrap", "0");
  unreadable.UpdateFile();
  EXPECT_EQ(TIniFile(location.WritePath).ReadString("Vorn options", "Word Wrap", {}), "0");
}

}  // namespace
