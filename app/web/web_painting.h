// The pictures painted in the page: painter workers beside it, each picture landing as a file
// in the page's own file system, a stand-in background for the time before, and the background
// painted afresh at the canvas's size.
#pragma once

#include <cstddef>

// Starts the painters: one for the background, one for the sphere pictures, so that on two
// cores neither waits for the other. Each picture lands as folder/NAME; folder must exist.
void webPaintingStart(const char* folder);
// The file name of a picture that has landed since the last call, into out (at most size bytes
// with the terminator); false when none has. The caller puts it on before the next frame.
bool webPaintingTakeLanded(char* out, size_t size);
// True once every picture has landed.
bool webPaintingFinished();
// Writes a flat background of today's size to path, for the frames before the painted one
// lands. Should that fail, reading the background reports it.
void webPaintingWriteStandIn(const char* path);
// Once the standard background has been taken and put on, has the background painter paint it
// at the canvas's backing size, width x height, whenever that changes, and shows the painting
// one pixel per pixel when it comes back, unless the canvas has had another size since; the size
// last shown is window.velmorin.fittedBackground, "WxH", for whoever watches the page. Call it
// every frame from the GL thread; it never waits for the painter.
void webPaintingFitBackground(int width, int height);
// The context was lost and made again: the canvas-sized painting shown before is offered once
// more, so that the next webPaintingFitBackground uploads it without painting it again.
void webPaintingOfferAgain();
