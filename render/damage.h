// What of the drawable a frame can change, and what must be drawn again into a back buffer that
// still holds a frame of a given age. Plain arithmetic on rectangles: no GL, no window system,
// so any backend that knows its buffer's age can use it.
#pragma once

// Rectangles kept per frame; beyond that the two that grow least by it are merged.
inline constexpr int kDamageMaxRects = 32;
// Rectangles a spray's points are gathered into: its points are sparse, and one bound of all
// of them would redraw mostly untouched background.
inline constexpr int kDamageRectsPerSpray = 4;
// Frames remembered; a buffer older than that is drawn whole.
inline constexpr int kDamageHistoryFrames = 4;

// Pixels of the drawable, origin at its lower left, as GL's scissor takes them.
struct DamageRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct DamageList {
    DamageRect rects[kDamageMaxRects];
    int count = 0;
    bool whole = false; // the whole drawable; then the rects mean nothing
};

// The perspective a frame is drawn with: the frustum's sides at the near plane (eye
// coordinates, the eye looking down -z) and the drawable's size in pixels.
struct DamageView {
    double left = -1.0;
    double right = 1.0;
    double bottom = -1.0;
    double top = 1.0;
    double nearPlane = 1.0;
    int width = 0;
    int height = 0;
};

// The damage of the frames drawn lately, the latest first.
struct DamageHistory {
    DamageList frames[kDamageHistoryFrames];
    int kept = 0;
};

// Adds rect, cut to the drawable; overlapping rectangles become their bound.
void damageListAdd(DamageList* list, DamageRect rect, int width, int height);
// Adds the pixels a sphere of radius around centre (eye coordinates) can cover, and returns
// them cut to the drawable (empty when off it). One that reaches the near plane or behind it
// has no such bound: the list becomes whole.
DamageRect damageListAddSphere(DamageList* list, const DamageView& view, const double centre[3],
                               double radius);
// The same for count points of pointSize pixels across at xyz (eye coordinates, three each):
// one pixel each up to 1, else round and smooth, with their anti-aliased rim. A point on or
// behind the near plane makes the list whole.
DamageRect damageListAddPoints(DamageList* list, const DamageView& view, const double* xyz,
                               int count, double pointSize);
// True when the two share a pixel.
bool damageRectsMeet(const DamageRect& a, const DamageRect& b);

// The next frame is drawn whole whatever the buffer's age: nothing drawn before counts.
void damageHistoryForget(DamageHistory* history);
// What to draw of a frame whose own damage is frame into a buffer age frames old (1: it holds
// the previous frame; 0: unknown): that damage and the damage of every frame since the one the
// buffer holds, or the whole drawable when the age is unknown, older than remembered, or any of
// those frames was whole. Then remembers frame as the latest.
DamageList damageHistoryRedraw(DamageHistory* history, const DamageList& frame, int age);
