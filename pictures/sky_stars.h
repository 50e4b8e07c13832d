// The background's stars: at most one per square cell of a field, placed, sized and coloured by
// the cell's hash, looked up per pixel from a table made once per band of rows.
#pragma once

#include <vector>

#include "pictures/colour.h"
#include "pictures/sky_view.h"

struct SkyStar {
    bool present = false;
    double x = 0.0; // centre, in output pixels
    double y = 0.0;
    double radiusSquared = 1.0;
    double peak = 0.0; // light at the centre, before rays
    bool rays = false;
    Colour colour;
};

// The stars of one field whose light may reach a band of output rows.
struct StarField {
    double cellSize = 1.0; // in standard pixels
    int reach = 1;         // cells each way that can light a pixel
    int firstColumn = 0;
    int firstRow = 0;
    int columns = 0;
    int rows = 0;
    std::vector<SkyStar> stars; // row by row
};

// One table per star level, for output rows [firstY, endY).
std::vector<StarField> makeStarFields(const SkyView& view, int firstY, int endY);
// The stars' light at output pixel (x, y), brightest field first.
Colour gatherStarLight(const SkyView& view, const std::vector<StarField>& fields, int x, int y);
