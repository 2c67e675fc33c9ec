// The SVG of a picture, read back with an XML parser: well-formed, every group an element of
// its own, every box, line and text where the layout put it, and text that XML reserves
// escaped.
#include <gtest/gtest.h>

#include <QString>
#include <QXmlStreamReader>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "plots/distribution_layout.h"
#include "plots/svg_picture.h"

namespace kova::plots {
namespace {

struct ReadSvg {
  QString error;  // empty when the document is well-formed
  std::vector<std::string> groups;
  std::map<std::string, int> elements;  // by name, in every group
  std::vector<std::string> texts;
};

ReadSvg Read(const std::string& svg) {
  ReadSvg read;
  QXmlStreamReader reader(QByteArray::fromStdString(svg));
  while (!reader.atEnd()) {
    if (reader.readNext() != QXmlStreamReader::StartElement) continue;
    const std::string name = reader.name().toString().toStdString();
    ++read.elements[name];
    if (name == "g") {
      read.groups.push_back(reader.attributes().value("class").toString().toStdString() + " " +
                            reader.attributes().value("id").toString().toStdString());
    }
    if (name == "text") read.texts.push_back(reader.readElementText().toStdString());
  }
  if (reader.hasError()) read.error = reader.errorString();
  return read;
}

TEST(SvgPicture, TheDistributionsPictureIsWellFormedWithFivePanels) {
  std::vector<Distribution> distributions;
  for (const char* code : {"APCF", "ACF", "ASF", "PCF", "PSF"})
    distributions.push_back({code, {1.0f, 2.0f, 2.5f, 3.0f}, 3.0f, 1.2f, 0.25});
  const Picture picture = DistributionPicture(distributions, {"data.txt", "groups.txt", 1, 4});
  const std::string svg = SvgDocument(picture);
  const ReadSvg read = Read(svg);
  ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
  EXPECT_EQ(read.groups,
            (std::vector<std::string>{"heading heading", "panel APCF", "panel ACF", "panel ASF",
                                      "panel PCF", "panel PSF", "caption caption"}));
  std::size_t boxes = 0, lines = 0, texts = 0;
  for (const Group& group : picture.groups) {
    boxes += group.boxes.size();
    lines += group.lines.size();
    texts += group.texts.size();
  }
  EXPECT_EQ(read.elements.at("svg"), 1);
  EXPECT_EQ(read.elements.at("rect"), static_cast<int>(boxes) + 1);  // and the background
  EXPECT_EQ(read.elements.at("line"), static_cast<int>(lines));
  EXPECT_EQ(read.elements.at("text"), static_cast<int>(texts));
  EXPECT_NE(std::find(read.texts.begin(), read.texts.end(), "APCF   z = 1.20   p = 0.25"),
            read.texts.end());
  // No decimal commas, whatever the locale.
  EXPECT_FALSE(std::regex_search(svg, std::regex("[0-9],[0-9]")));
}

TEST(SvgPicture, ShapesKeepTheirPlacesAndTextsTheirCharacters) {
  Picture picture{200, 100, {255, 255, 255}, {}};
  Group group{"panel", "A&B", {}, {}, {}};
  group.boxes.push_back({10.004, 20.5, 30, 40.125, {155, 183, 212}, {74, 107, 138}});
  group.lines.push_back({{1, 2}, {3, 4}, {214, 39, 40}, 2});
  group.texts.push_back({{50, 60},
                         "x < y & \"z\" > 'w'",
                         11,
                         Anchor::End,
                         Weight::Bold,
                         Direction::Upright,
                         {0, 0, 0}});
  picture.groups.push_back(group);
  const std::string svg = SvgDocument(picture);
  const ReadSvg read = Read(svg);
  ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
  EXPECT_EQ(read.groups, std::vector<std::string>{"panel A&B"});
  EXPECT_EQ(read.texts, std::vector<std::string>{"x < y & \"z\" > 'w'"});
  for (const char* part :
       {"width=\"200\" height=\"100\" viewBox=\"0 0 200 100\"", "xml:space=\"preserve\"",
        "<rect x=\"10\" y=\"20.5\" width=\"30\" height=\"40.13\" fill=\"#9bb7d4\" "
        "stroke=\"#4a6b8a\"",
        "<line x1=\"1\" y1=\"2\" x2=\"3\" y2=\"4\" stroke=\"#d62728\" stroke-width=\"2\"/>",
        "text-anchor=\"end\"", "font-weight=\"bold\"", "transform=\"rotate(-90 50 60)\""}) {
    EXPECT_NE(svg.find(part), std::string::npos) << part << "\n" << svg;
  }
}

}  // namespace
}  // namespace kova::plots
