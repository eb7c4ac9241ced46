#pragma once

#include <QByteArray>
#include <QImage>

// Decodes a JPEG stream held in memory with libjpeg; a stream libjpeg refuses raises
// EVornError with libjpeg's own message.
QImage DecodeJpeg(const QByteArray& jpeg);
