#include "JpegCodec.h"

#include "AtomicFile.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace jpeg {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info)
{
    auto *err = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr, int) {} // warnings of a damaged picture are not shown

} // namespace

QByteArray encode(const QImage &image, int quality)
{
    if (image.isNull())
        return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info;
    ErrorManager err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.emit_message = onMessage;
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    if (quality >= 0)
        jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray out(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}

namespace {

// Everything between setjmp and a possible longjmp touches only memory behind
// pointers, so nothing is left indeterminate by the jump.
bool decodeInto(QByteArrayView bytes, QImage *out, QString *errorMessage)
{
    jpeg_decompress_struct info;
    ErrorManager err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.emit_message = onMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        if (errorMessage)
            *errorMessage = QString::fromLocal8Bit(err.message);
        *out = QImage();
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    // A header may claim a picture far larger than any map view: refuse it
    // rather than try to allocate it.
    if (info.image_width > 16384 || info.image_height > 16384) {
        jpeg_destroy_decompress(&info);
        if (errorMessage)
            *errorMessage = QStringLiteral("picture too large");
        return false;
    }
    jpeg_start_decompress(&info);
    *out = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (out->isNull()) {
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

QImage decode(QByteArrayView bytes, QString *errorMessage)
{
    QImage image;
    if (!decodeInto(bytes, &image, errorMessage))
        return {};
    return image;
}

QImage load(const QString &path, QString *errorMessage)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (errorMessage)
            *errorMessage = f.errorString();
        return {};
    }
    return decode(f.readAll(), errorMessage);
}

bool save(const QImage &image, const QString &path, QString *errorMessage, int quality)
{
    return writeFileAtomically(path, encode(image, quality), errorMessage);
}

} // namespace jpeg
