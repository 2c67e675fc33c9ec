// A picture as an SVG document: each group a <g> element whose class is the group's kind and
// whose id is its name, boxes as <rect>, lines as <line>, texts as <text>; one unit a pixel.
// Blanks in texts are kept as they are (xml:space="preserve"), not run together.
#pragma once

#include <string>

#include "plots/picture.h"

namespace kova::plots {

std::string SvgDocument(const Picture& picture);

}  // namespace kova::plots
