// The mapping modes of the graphics window: how a program's logical units become pixels.
#pragma once

namespace kova::host {

enum class MappingMode {
  Text = 1,     // one unit a pixel, y down
  LowMetric,    // 0.1 mm, y up
  HighMetric,   // 0.01 mm, y up
  LowEnglish,   // 0.01 inch, y up
  HighEnglish,  // 0.001 inch, y up
  Twips,        // 1/1440 inch, y up
  Isotropic,    // units the program sets itself; one unit a pixel until it does
  Anisotropic,
};

// Modes 2 to 8 as given; anything else is Text.
MappingMode MappingModeOf(int code);

struct PixelScale {
  double x = 1;
  double y = 1;  // negative: logical y grows upwards
  bool operator==(const PixelScale&) const = default;
};

// Pixels per logical unit at the given resolution in dots per inch.
PixelScale ScaleOf(MappingMode mode, double dotsPerInchX, double dotsPerInchY);

}  // namespace kova::host
