// The desktop picture: a size-limited JPEG file decoded by libjpeg at best quality.
#include "desktopimage.h"

#include <QFile>
#include <QFileInfo>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// Pictures above this many pixels are refused rather than allocated.
constexpr qint64 MaxPixels = 64LL * 1024 * 1024;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info)
{
    // libjpeg's own handler ends the process; return to the decoder instead.
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void onMessage(j_common_ptr) {}

bool decodeInto(const unsigned char *data, unsigned long size, QImage *out)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = onMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Best quality: full size, the accurate integer transform and smooth upsampling.
    info.out_color_space = JCS_RGB;
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    info.do_block_smoothing = TRUE;
    info.scale_num = 1;
    info.scale_denom = 1;
    if (qint64(info.image_width) * info.image_height > MaxPixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    *out = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (out->isNull() || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray &data)
{
    if (data.isEmpty())
        return QImage();
    QImage image;
    if (!decodeInto(reinterpret_cast<const unsigned char *>(data.constData()),
                    static_cast<unsigned long>(data.size()), &image))
        return QImage();
    return image;
}

QImage LoadDesktopJpeg(const QString &fileName)
{
    QFile file(fileName);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return QImage();
    if (file.size() / DesktopImageBlockSize >= DesktopImageMaxBlocks)
        return QImage();
    return DecodeJpeg(file.readAll());
}
