#include "plots/svg_picture.h"

#include <charconv>
#include <cmath>

namespace kova::plots {
namespace {

// Coordinates to a hundredth of a unit, in the fewest digits, whatever the locale.
std::string Number(double value) {
  const double rounded = std::round(value * 100) / 100;
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, rounded == 0 ? 0.0 : rounded);
  return std::string(text, result.ptr);
}

std::string ColourText(Colour colour) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text = "#";
  for (const std::uint8_t part : {colour.red, colour.green, colour.blue}) {
    text += kDigits[part >> 4];
    text += kDigits[part & 15];
  }
  return text;
}

// Text and attribute values with the five characters XML reserves escaped.
std::string Escaped(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

const char* AnchorText(Anchor anchor) {
  switch (anchor) {
    case Anchor::Start:
      return "start";
    case Anchor::Middle:
      return "middle";
    case Anchor::End:
      return "end";
  }
  return "start";
}

void AddBox(std::string& svg, const Box& box) {
  svg += "<rect x=\"" + Number(box.left) + "\" y=\"" + Number(box.top) + "\" width=\"" +
         Number(box.width) + "\" height=\"" + Number(box.height) + "\" fill=\"" +
         ColourText(box.fill) + "\" stroke=\"" + ColourText(box.edge) + "\" stroke-width=\"1\"/>\n";
}

void AddLine(std::string& svg, const Line& line) {
  svg += "<line x1=\"" + Number(line.from.x) + "\" y1=\"" + Number(line.from.y) + "\" x2=\"" +
         Number(line.to.x) + "\" y2=\"" + Number(line.to.y) + "\" stroke=\"" +
         ColourText(line.colour) + "\" stroke-width=\"" + Number(line.width) + "\"/>\n";
}

void AddText(std::string& svg, const Text& text) {
  svg += "<text x=\"" + Number(text.at.x) + "\" y=\"" + Number(text.at.y) + "\" font-size=\"" +
         Number(text.size) + "\" text-anchor=\"" + AnchorText(text.anchor) + "\" fill=\"" +
         ColourText(text.colour) + "\"";
  if (text.weight == Weight::Bold) svg += " font-weight=\"bold\"";
  if (text.direction == Direction::Upright) {
    svg += " transform=\"rotate(-90 " + Number(text.at.x) + " " + Number(text.at.y) + ")\"";
  }
  svg += ">" + Escaped(text.text) + "</text>\n";
}

}  // namespace

std::string SvgDocument(const Picture& picture) {
  const std::string width = Number(picture.width);
  const std::string height = Number(picture.height);
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width + "\" height=\"" + height +
         "\" viewBox=\"0 0 " + width + " " + height +
         "\" font-family=\"DejaVu Sans, Verdana, Arial, sans-serif\" xml:space=\"preserve\">\n";
  svg += "<rect x=\"0\" y=\"0\" width=\"" + width + "\" height=\"" + height + "\" fill=\"" +
         ColourText(picture.background) + "\"/>\n";
  for (const Group& group : picture.groups) {
    svg += "<g class=\"" + Escaped(group.kind) + "\" id=\"" + Escaped(group.name) + "\">\n";
    for (const Box& box : group.boxes)
      AddBox(svg, box);
    for (const Line& line : group.lines)
      AddLine(svg, line);
    for (const Text& text : group.texts)
      AddText(svg, text);
    svg += "</g>\n";
  }
  return svg + "</svg>\n";
}

}  // namespace kova::plots
