#pragma once

#include <QString>

// The folder that holds the program file, ending in "/": the start page, the help file and the
// settings file lie there. Tests point it elsewhere with SetProgramFolder.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);
