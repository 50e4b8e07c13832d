// Where the background picture goes: fixed at the frame's raster position, covering the whole
// drawable, or nowhere; and the exact-size pictures a painter may hand in for the covering one.
#pragma once

#include <cstdint>

#include "render/background_mode.h"
#include "render/bmp.h"

// Chosen before setupGL, which makes the scaled picture only when filling. Fixed until set.
void backgroundSetMode(BackgroundMode mode);
BackgroundMode backgroundGetMode();

// setupGL's share: forgets the objects of an earlier context, and keeps the picture (as read,
// power-of-two padded) as a linearly filtered texture when filling.
void backgroundKeepPicture(const ImageRecord* record, const uint8_t* pixels);

// A picture painted for the drawable itself: width by height RGB pixels, bottom row first,
// rows packed. They are copied at once, so the caller may free them on return. While filling,
// a frame whose drawable has exactly this size shows it one pixel per pixel from the window's
// lower-left corner; any other size falls back to the scaled picture. It replaces every exact
// picture held before; null (or a size below 1) drops them all. Needs the current GL context,
// like every other drawing call.
void backgroundSetExact(const uint8_t* rgb, int width, int height);
// The same, kept beside the pictures of other sizes (drawables of several sizes drawn in turn
// with one context each show their own); it replaces only one of the same size.
void backgroundAddExact(const uint8_t* rgb, int width, int height);
// Releases the picture of that size, if one is held.
void backgroundDropExact(int width, int height);

// Goes up with every change above, so that a frame drawn in parts knows when the whole
// background must be drawn again.
uint32_t backgroundChanges();

// True when backgroundDrawFill writes every pixel of such a drawable, so no clear is needed
// under it.
bool backgroundCoversDrawable(int drawableWidth, int drawableHeight);

// The frame's background in the Fill and None modes for a drawable of that size.
void backgroundDrawFill(int drawableWidth, int drawableHeight);
