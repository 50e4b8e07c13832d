// The three ways of showing the background picture, and their names on command lines.
#pragma once

enum class BackgroundMode {
    Fixed, // the picture's corner at a point of the scene, one texel per window pixel
    Fill,  // scaled (linearly) to cover the drawable: centred, aspect kept, the overflow cropped
    None,  // black
};

// "fixed", "fill" or "none"; false for any other text.
bool backgroundModeFromName(const char* name, BackgroundMode* mode);
