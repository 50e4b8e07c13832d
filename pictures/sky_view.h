// How a background of any size lies over the standard 800 x 600 one: scaled to cover it and
// centred, with the detail the size calls for.
#pragma once

#include "math/vertex.h"

struct SkyView {
    int width = 0;
    int height = 0;
    double scale = 1.0;   // output pixels per standard pixel
    double centreX = 0.0; // the output's centre, in output pixels
    double centreY = 0.0;
    int extraOctaves = 0; // gas and dust octaves beyond the standard picture's
    int nebulaStep = 1;   // output pixels between nebula samples
    int starLevels = 1;   // star fields: the standard one, then ever finer and fainter ones
};

SkyView makeSkyView(int width, int height);

// Output pixel position to standard picture position, and back.
double mapOutputToStandardX(const SkyView& view, double x);
double mapOutputToStandardY(const SkyView& view, double y);
double mapStandardToOutputX(const SkyView& view, double u);
double mapStandardToOutputY(const SkyView& view, double v);
// A standard picture position in noise space, where its half-height is one unit.
Vertex mapStandardToNoise(double u, double v);
// 1 on the centre line of the nebula band, which runs from lower left to upper right, and 0
// beyond its half-width; gas, dust and stars all crowd along it.
double weighBand(Vertex p);
