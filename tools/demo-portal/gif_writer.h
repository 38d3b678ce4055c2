#pragma once

#include <QByteArray>
#include <QImage>

namespace demoportal {

// Encodes an image as a GIF89a file with giflib (Qt reads GIF but cannot
// write it). An image with more than 256 colours is reduced first. Empty on
// failure.
QByteArray encodeGif(const QImage& image);

} // namespace demoportal
