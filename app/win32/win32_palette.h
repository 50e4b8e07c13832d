// The colours of a logical palette for an indexed-colour pixel format, from the format's
// channel layout. Pure arithmetic, so it is built and tested on every system.
#pragma once

#include <cstdint>

// Where one colour channel sits inside a pixel index.
struct PaletteChannel {
    int bits;  // width of the channel's field; 0 for a format without this channel
    int shift; // position of the field's lowest bit
};

struct PaletteLayout {
    PaletteChannel red;
    PaletteChannel green;
    PaletteChannel blue;
};

struct PaletteColour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// Each channel's level read from the index, scaled so that its highest level gives 255, with
// the fraction dropped. A channel of 0 bits has no levels and stays 0; channels wider than 8
// bits use 8, as the masks are 8-bit values.
PaletteColour paletteColourAt(const PaletteLayout& layout, uint32_t index);
