#pragma once

#include <QString>

// The folder part of a path: everything up to and including the last path separator.
QString ExtractFilePath(const QString& path);
