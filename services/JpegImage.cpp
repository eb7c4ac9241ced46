#include "services/JpegImage.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>

#include "services/VornError.h"

namespace {

struct TJpegErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Escape;
  char Message[JMSG_LENGTH_MAX];
};

// libjpeg must not return from error_exit; jump back to the decoder, which raises the message.
[[noreturn]] void ExitWithMessage(j_common_ptr info) {
  auto* errors = reinterpret_cast<TJpegErrorManager*>(info->err);
  (*info->err->format_message)(info, errors->Message);
  std::longjmp(errors->Escape, 1);
}

// Keeps setjmp in a frame whose only state lives outside it, so the jump back leaves nothing
// indeterminate; the picture is written through the pointer.
bool DecodeInto(const QByteArray& jpeg, QImage* image, TJpegErrorManager* errors) {
  jpeg_decompress_struct info{};
  info.err = jpeg_std_error(&errors->Base);
  errors->Base.error_exit = ExitWithMessage;
  if (setjmp(errors->Escape)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.constData()),
               static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                  QImage::Format_RGB888);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image->scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& jpeg) {
  QImage image;
  TJpegErrorManager errors{};
  if (!DecodeInto(jpeg, &image, &errors))
    throw EVornError(QStringLiteral("JPEG error: %1").arg(QString::fromLocal8Bit(errors.Message)));
  return image;
}
