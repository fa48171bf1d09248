// Reading a polygon from a text file of coordinates: one "x y" pair per line,
// a blank line between rings, '#' starting a comment.
#pragma once

#include "planar/planar_types.h"

#include <istream>
#include <string>
#include <vector>

namespace AllotrixApp {

struct PolygonText {
    // The rings one after another, a disconnect point between two rings.
    std::vector<Korvex::DPoint3d> points;
    int ringCount = 0;
    // Empty on success; otherwise one line naming the source and line.
    std::string error;
};

// Guards the memory of a hostile file; far beyond any parcel or service area.
inline constexpr int kMaxPolygonPoints = 1000000;

// Parses the text; sourceName prefixes error messages ("parcel.txt:7: ...").
// Every ring needs at least three points; coordinates must be finite.
PolygonText parsePolygonText(std::istream& in, const std::string& sourceName);

// Opens and parses the file at path.
PolygonText readPolygonFile(const std::string& path);

}  // namespace AllotrixApp
