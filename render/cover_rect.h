// The part of a picture that covers a drawable: scaled to fill it, centred, aspect kept.
#pragma once

// A rectangle in picture pixels, measured from the picture's lower-left corner.
struct CoverRect {
    double x;
    double y;
    double width;
    double height;
};

// The centred part of a picture with the drawable's aspect that is as large as the picture
// allows: scaled by drawable / picture it fills the drawable exactly, and what lies outside it
// is cropped. Every size must be at least 1.
CoverRect coverRect(int pictureWidth, int pictureHeight, int drawableWidth, int drawableHeight);
