// A picture of plots/picture.h drawn with a QPainter: the renderer of the graphics window
// and of pictures saved as PNG. It draws what the layout placed and decides nothing itself.
#pragma once

#include <QImage>
#include <QPainter>

#include "plots/picture.h"

namespace kova::win {

// Draws `picture` in picture units on the painter's current coordinates.
void PaintPicture(QPainter& surface, const plots::Picture& picture);

// Draws `picture` as large as fits the painter's device, centred, its proportions kept.
void PaintPictureToFit(QPainter& surface, const plots::Picture& picture);

// The smallest size at which `picture` drawn to fit keeps its smallest text at least
// `legiblePixels` high: a window showing the picture is kept no smaller.
QSize LegibleSize(const plots::Picture& picture, double legiblePixels);

// The picture as an image `scale` times its natural size.
QImage PictureImage(const plots::Picture& picture, double scale);

}  // namespace kova::win
