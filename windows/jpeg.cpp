#include "jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QtGlobal>
#include <jpeglib.h>

namespace vostrel {

namespace {

// libjpeg's default error handler ends the process; this one jumps back.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void onError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings (corrupt or truncated data) fail the decoding too: a damaged
// image is an error, not a picture with grey stripes.
void onMessage(j_common_ptr info, int level) {
    if (level < 0)
        onError(info);
}

// Larger images are refused before anything is allocated.
constexpr unsigned long kMaxPixels = 64ul * 1024 * 1024;

struct RawImage {
    unsigned width = 0, height = 0;
    unsigned char* pixels = nullptr; // 32-bit 0xffRRGGBB words, malloc'ed
};

// Decoded straight into the layout of QImage::Format_RGB32 (B, G, R, X bytes
// on little-endian machines), so the image needs neither a copy nor a
// conversion on its way to the screen.
constexpr J_COLOR_SPACE kOutputSpace =
    Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// Only trivially destructible locals here: longjmp may leave this frame.
bool decodeRaw(const unsigned char* data, unsigned long size, RawImage* out, char* message) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    unsigned char* volatile pixels = nullptr;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        std::free(pixels);
        std::memcpy(message, errors.message, JMSG_LENGTH_MAX);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = kOutputSpace;
    jpeg_calc_output_dimensions(&info);
    if (static_cast<unsigned long>(info.output_width) * info.output_height > kMaxPixels) {
        std::snprintf(errors.message, JMSG_LENGTH_MAX, "Image of %ux%u pixels is too large",
                      info.output_width, info.output_height);
        std::longjmp(errors.jump, 1);
    }
    jpeg_start_decompress(&info);
    const size_t stride = static_cast<size_t>(info.output_width) * 4;
    pixels = static_cast<unsigned char*>(std::malloc(stride * info.output_height));
    if (!pixels) {
        std::snprintf(errors.message, JMSG_LENGTH_MAX, "Out of memory");
        std::longjmp(errors.jump, 1);
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    out->width = info.output_width;
    out->height = info.output_height;
    out->pixels = pixels;
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

Outcome<QImage, QString> DecodeJpeg(const QByteArray& data) {
    RawImage raw;
    char message[JMSG_LENGTH_MAX] = {};
    if (data.isEmpty())
        return Failure(QStringLiteral("Empty input file"));
    if (!decodeRaw(reinterpret_cast<const unsigned char*>(data.constData()),
                   static_cast<unsigned long>(data.size()), &raw, message))
        return Failure(QString::fromLocal8Bit(message));
    // The image takes over the buffer and frees it.
    return QImage(
        raw.pixels, static_cast<int>(raw.width), static_cast<int>(raw.height),
        static_cast<qsizetype>(raw.width) * 4, QImage::Format_RGB32,
        [](void* pixels) { std::free(pixels); }, raw.pixels);
}

} // namespace vostrel
