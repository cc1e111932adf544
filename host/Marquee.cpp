#include "Marquee.h"

#include <algorithm>

namespace lumora::detail {

int MarqueeCircleLength(int textLength, int width) { return std::max(std::max(textLength, 0) + kMarqueeGap, width); }

void MarqueeFrame(const unsigned char* text, int textLength, int width, int offset, unsigned char blank,
                  unsigned char* out)
{
    const int circle = MarqueeCircleLength(textLength, width);
    for (int column = 0; column < width; ++column) {
        const int at = (offset + column) % circle;
        out[column] = at < textLength ? text[at] : blank;
    }
}

}  // namespace lumora::detail
