#pragma once

#include <QString>

// Where the settings file is read from and written to. Beside the program while the program's
// folder is writable (an install for one user, the build folder). A system install's folder is
// not: the file is then the user's own, vorn/vorn.ini in their configuration folder
// ($XDG_CONFIG_HOME, else ~/.config), and a vorn.ini beside the program, an administrator's
// defaults, is read until the user has a file of their own.
struct TSettingsLocation {
  QString ReadPath;
  QString WritePath;
};

TSettingsLocation SettingsLocation(const QString& programFolder, bool programFolderWritable,
                                   const QString& configFolder);
// The location for this program and this user.
TSettingsLocation ProgramSettingsLocation();
// Makes the folders the file is written into, private to the user, where they are missing.
// Where one cannot be made, the write that follows fails and says so.
void MakeSettingsFolder(const TSettingsLocation& location);
