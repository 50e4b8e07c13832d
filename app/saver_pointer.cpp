// The saver's mouse rule: the first report anchors, only a move beyond the slack counts.
#include "app/saver_pointer.h"

#include <cstdlib>

bool saverPointerMoveEnds(SaverPointer* pointer, int x, int y) {
    if (!pointer->anchored) {
        // Windows and X11 report where the pointer is when the window appears under it; Wayland,
        // when the pointer enters the surface.
        pointer->anchored = true;
        pointer->x = x;
        pointer->y = y;
        return false;
    }
    return std::abs(x - pointer->x) > kSaverPointerSlack ||
           std::abs(y - pointer->y) > kSaverPointerSlack;
}
