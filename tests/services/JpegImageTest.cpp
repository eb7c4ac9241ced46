#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "services/JpegImage.h"
#include "services/VornError.h"

namespace {

TEST(JpegImage, DecodesTheSplashPictureAndRefusesBrokenData) {
  QFile file(":/splash.jpg");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray jpeg = file.readAll();
  const QImage picture = DecodeJpeg(jpeg);
  EXPECT_EQ(picture.size(), QSize(90, 120));
  EXPECT_FALSE(picture.allGray());
  EXPECT_THROW(DecodeJpeg(jpeg.left(20)), EVornError);
  EXPECT_THROW(DecodeJpeg("not a jpeg"), EVornError);
}

}  // namespace
