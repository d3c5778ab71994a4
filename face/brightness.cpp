#include "face/brightness.h"

#include <algorithm>
#include <cstdint>

namespace rpn {

namespace {

constexpr int kChannelMaximum = 31;
// From |b| = 8 on every channel reaches its limit, so larger values change nothing more.
constexpr long long kSaturatingBrightness = 8;

}  // namespace

void AdjustBrightness(QImage& picture, int brightness)
{
    if (brightness == 0 || picture.isNull())
        return;
    if (picture.format() != kFacePixelFormat)
        picture.convertTo(kFacePixelFormat);
    const long long wide = brightness;
    const int magnitude = static_cast<int>(std::min(wide < 0 ? -wide : wide, kSaturatingBrightness));
    const int step = magnitude * kChannelMaximum / 8;
    const auto adjust = [brightness, step](int channel) {
        return brightness > 0 ? std::min(channel + step, kChannelMaximum) : std::max(channel - step, 0);
    };
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<std::uint16_t*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int pixel = line[x];
            const int blue = adjust(pixel & 0x1F);
            const int green = adjust((pixel >> 5) & 0x1F);
            const int red = adjust((pixel >> 10) & 0x1F);
            line[x] = static_cast<std::uint16_t>((red << 10) | (green << 5) | blue);
        }
    }
}

}  // namespace rpn
