// coverRect: the larger of the two scales wins, so the other side overflows and is cropped.
#include "render/cover_rect.h"

CoverRect coverRect(int pictureWidth, int pictureHeight, int drawableWidth, int drawableHeight) {
    const double scaleX = static_cast<double>(drawableWidth) / pictureWidth;
    const double scaleY = static_cast<double>(drawableHeight) / pictureHeight;
    CoverRect rect{0.0, 0.0, static_cast<double>(pictureWidth), static_cast<double>(pictureHeight)};
    // Comparing cross products keeps an exact fit exact, with no rounding of the quotients.
    if (static_cast<long long>(drawableWidth) * pictureHeight >
        static_cast<long long>(drawableHeight) * pictureWidth) {
        rect.height = drawableHeight / scaleX; // wider than the picture: top and bottom go
        rect.y = (pictureHeight - rect.height) / 2.0;
    } else if (static_cast<long long>(drawableWidth) * pictureHeight <
               static_cast<long long>(drawableHeight) * pictureWidth) {
        rect.width = drawableWidth / scaleY; // narrower: the sides go
        rect.x = (pictureWidth - rect.width) / 2.0;
    }
    return rect;
}
