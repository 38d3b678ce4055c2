#pragma once

#include <QByteArray>
#include <QSize>
#include <optional>

// What a network image may cost before the program decodes it. A chart image
// is a few hundred pixels a side; an image that asks for far more is refused
// unseen, so that a small file cannot make the decoder fill hundreds of
// megabytes or keep a core busy for as long as it is shown.
namespace charts {

// Any image: at most this many pixels a side.
constexpr int kMaxImageSide = 4096;
// An animation redraws its whole canvas for every frame, for as long as it is
// shown: its canvas and each frame's work stay far smaller than a still's.
constexpr qint64 kMaxAnimationPixels = 1024 * 1024;
constexpr int kMaxAnimationFrames = 500;

// What a GIF asks of its decoder, read from its blocks without decoding a
// pixel: the canvas the decoder allocates, the number of frames, and the most
// pixels any one frame's compressed data unpacks to (which can be far more
// than the frame's own size: the decoder goes on writing past its end).
struct GifShape {
    QSize canvas;
    int frames = 0;
    qint64 largestFrameWork = 0;
    // False when the compressed data is not what any encoder writes (codes
    // that were never defined, a code size beyond twelve bits).
    bool wellFormed = true;
};

// Nothing when the bytes are not a GIF. A file cut short counts what it holds.
std::optional<GifShape> scanGif(const QByteArray& bytes);

// Whether an image of this canvas, frame count and largest frame's work (in
// pixels) may be decoded.
bool withinImageBounds(QSize canvas, int frames, qint64 largestFrameWork);

} // namespace charts
