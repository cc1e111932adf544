// The host's software marquee: text moving through one row of the display.
#pragma once

namespace lumora::detail {

// Spaces between the end of the text and its next start on the circle.
constexpr int kMarqueeGap = 3;

// The text goes round a circle: the text itself, then blanks, so that its end
// and its start never touch. The circle is at least one row wide.
int MarqueeCircleLength(int textLength, int width);

// Fills out[0..width) with the row as it shows at offset (0 = the text's first
// byte at column 0). Places on the circle past the text show blank.
void MarqueeFrame(const unsigned char* text, int textLength, int width, int offset, unsigned char blank,
                  unsigned char* out);

}  // namespace lumora::detail
