// A picture as its renderers receive it: groups of boxes, lines and texts placed in a plane of
// picture units (one unit a pixel at the natural size, y growing downwards), in the order
// they are drawn. The layout decides everything that is seen; a renderer only draws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kova::plots {

struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Colour&) const = default;
};

struct Point {
  double x = 0;
  double y = 0;
  bool operator==(const Point&) const = default;
};

// A filled rectangle with an edge of one unit.
struct Box {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
  Colour fill;
  Colour edge;
};

struct Line {
  Point from;
  Point to;
  Colour colour;
  double width = 1;
};

// Where a text's anchor point lies along its baseline.
enum class Anchor { Start, Middle, End };
enum class Weight { Normal, Bold };
// Upright texts read from bottom to top, turned a quarter about their anchor.
enum class Direction { Across, Upright };

// One line of text whose baseline passes through `at`.
struct Text {
  Point at;
  std::string text;
  double size = 11;  // the font's height in picture units
  Anchor anchor = Anchor::Start;
  Weight weight = Weight::Normal;
  Direction direction = Direction::Across;
  Colour colour;
};

// What is drawn together: boxes first, then lines, then texts. `kind` says what the group
// shows ("panel", "caption"), `name` which one (a panel's variant code).
struct Group {
  std::string kind;
  std::string name;
  std::vector<Box> boxes;
  std::vector<Line> lines;
  std::vector<Text> texts;
};

struct Picture {
  double width = 0;
  double height = 0;
  Colour background{255, 255, 255};
  std::vector<Group> groups;
};

}  // namespace kova::plots
