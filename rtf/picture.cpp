#include "rtf/rtf.h"

#include <limits>

namespace vostrel::rtf {

std::string PictureGroup(const Picture& picture) {
    static constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
    if (!std::string_view(picture.png).starts_with(kSignature))
        throw std::invalid_argument("rtf::PictureGroup: the data is not a PNG file");
    constexpr std::uint32_t kLargest = std::numeric_limits<std::int32_t>::max();
    for (const std::uint32_t size :
         {picture.widthPx, picture.heightPx, picture.widthTwips, picture.heightTwips})
        if (size == 0 || size > kLargest)
            throw std::invalid_argument("rtf::PictureGroup: picture sizes must be 1 to " +
                                        std::to_string(kLargest));
    std::string out = "{\\pict\\pngblip\\picw" + std::to_string(picture.widthPx) + "\\pich" +
                      std::to_string(picture.heightPx) + "\\picwgoal" +
                      std::to_string(picture.widthTwips) + "\\pichgoal" +
                      std::to_string(picture.heightTwips) + ' ';
    constexpr std::size_t kLineBytes = 64; // 128 hexadecimal digits
    const std::size_t bytes = picture.png.size();
    out.reserve(out.size() + 2 * bytes + 2 * (bytes / kLineBytes) + 1);
    static constexpr char kHex[] = "0123456789abcdef";
    for (std::size_t k = 0; k < bytes; ++k) {
        if (k > 0 && k % kLineBytes == 0)
            out += "\r\n";
        const auto b = static_cast<unsigned char>(picture.png[k]);
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    }
    out += '}';
    return out;
}

} // namespace vostrel::rtf
