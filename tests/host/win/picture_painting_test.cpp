// The QPainter renderer draws what the layout placed: boxes and lines at their places and
// scales, and texts on the side of their anchors that the anchor says.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "host/win/picture_painting.h"

namespace kova::win {
namespace {

constexpr plots::Colour kRed{214, 39, 40};
constexpr plots::Colour kBlue{155, 183, 212};
constexpr plots::Colour kBlack{0, 0, 0};

// The smallest rectangle holding every pixel that is not white.
QRect InkedArea(const QImage& image) {
  QRect area;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) != QColor(Qt::white)) area |= QRect(x, y, 1, 1);
    }
  }
  return area;
}

plots::Picture PictureOf(plots::Group group) {
  plots::Picture picture{200, 100, {255, 255, 255}, {}};
  picture.groups.push_back(std::move(group));
  return picture;
}

TEST(PicturePainting, BoxesAndLinesKeepTheirPlacesAtEveryScale) {
  plots::Group group{"panel", "A", {}, {}, {}};
  group.boxes.push_back({20, 30, 40, 50, kBlue, kBlue});
  group.lines.push_back({{150, 10}, {150, 90}, kRed, 2});
  const plots::Picture picture = PictureOf(group);
  for (const double scale : {1.0, 2.0}) {
    const QImage image = PictureImage(picture, scale);
    EXPECT_EQ(image.size(), QSize(static_cast<int>(200 * scale), static_cast<int>(100 * scale)));
    EXPECT_EQ(image.pixelColor(static_cast<int>(40 * scale), static_cast<int>(55 * scale)),
              QColor(155, 183, 212));
    EXPECT_EQ(image.pixelColor(static_cast<int>(150 * scale), static_cast<int>(50 * scale)),
              QColor(214, 39, 40));
    EXPECT_EQ(image.pixelColor(static_cast<int>(100 * scale), static_cast<int>(50 * scale)),
              QColor(Qt::white));
  }
  // Fitted to a device of another shape: centred, as large as fits.
  QImage wide(400, 100, QImage::Format_RGB32);
  wide.fill(Qt::white);
  QPainter surface(&wide);
  PaintPictureToFit(surface, picture);
  surface.end();
  EXPECT_EQ(wide.pixelColor(100 + 40, 55), QColor(155, 183, 212));
  EXPECT_EQ(wide.pixelColor(40, 55), QColor(Qt::white));
}

TEST(PicturePainting, TextsLieOnTheSideOfTheirAnchors) {
  const struct {
    plots::Anchor anchor;
    plots::Direction direction;
  } cases[] = {{plots::Anchor::Start, plots::Direction::Across},
               {plots::Anchor::Middle, plots::Direction::Across},
               {plots::Anchor::End, plots::Direction::Across},
               {plots::Anchor::Start, plots::Direction::Upright}};
  for (const auto& c : cases) {
    plots::Group group{"panel", "A", {}, {}, {}};
    group.texts.push_back(
        {{100, 60}, "Wilderness", 14, c.anchor, plots::Weight::Normal, c.direction, kBlack});
    const QRect inked = InkedArea(PictureImage(PictureOf(group), 1));
    ASSERT_FALSE(inked.isEmpty());
    // An upright text reads upwards from its anchor, standing left of it.
    if (c.direction == plots::Direction::Upright) {
      EXPECT_LE(inked.bottom(), 61);
      EXPECT_LT(inked.top(), 30);
      EXPECT_LE(inked.right(), 103);
      continue;
    }
    EXPECT_LE(inked.bottom(), 64);  // on the baseline, but for a descender's pixel or two
    EXPECT_GT(inked.width(), 50);
    switch (c.anchor) {
      case plots::Anchor::Start:
        EXPECT_GE(inked.left(), 99);
        break;
      case plots::Anchor::End:
        EXPECT_LE(inked.right(), 101);
        break;
      case plots::Anchor::Middle:
        EXPECT_NEAR(inked.center().x(), 100, 3);
        break;
    }
  }
}

}  // namespace
}  // namespace kova::win
