#include "image_bounds.h"

#include <algorithm>
#include <array>

namespace charts {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;

// Reads a byte string front to back; past its end every read answers -1.
class Cursor {
public:
    explicit Cursor(const QByteArray& bytes) : bytes_(bytes) {}

    int byte() { return pos_ < bytes_.size() ? uchar(bytes_[pos_++]) : -1; }
    // Little-endian, as GIF stores its sizes.
    int word() {
        const int low = byte();
        const int high = byte();
        return high < 0 ? -1 : low | high << 8;
    }
    void skip(qsizetype count) { pos_ = std::min(pos_ + count, bytes_.size()); }

private:
    const QByteArray& bytes_;
    qsizetype pos_ = 0;
};

void skipColourTable(Cursor& in, int flags) {
    if (flags & 0x80)
        in.skip(3 * (2 << (flags & 7)));
}

void skipSubBlocks(Cursor& in) {
    for (int size = in.byte(); size > 0; size = in.byte())
        in.skip(size);
}

struct FrameWork {
    qint64 pixels = 0;
    bool wellFormed = true;
};

// One frame's LZW code table as the decoder builds it, keeping only the
// length of each entry: a new entry is one longer than the string of the code
// before it, so the pixels a code writes are known without writing them.
struct CodeLengths {
    explicit CodeLengths(int minimumBits)
        : minimumBits(minimumBits), clear(1 << minimumBits), end(clear + 1), codeBits(minimumBits + 1),
          next(clear + 2) {
        std::fill_n(length.begin(), clear, 1);
    }

    // Counts the pixels of one code into `work`; false for a code the
    // decoder would refuse.
    bool take(int code, FrameWork& work) {
        if (code == clear) {
            codeBits = minimumBits + 1;
            next = clear + 2;
            previous = -1;
            return true;
        }
        if (code == end) {
            ended = true;
            return true;
        }
        if (previous < 0) {
            if (code > clear)
                return false;
            work.pixels += 1;
            previous = code;
            return true;
        }
        if (code > next || (code == next && next >= kTableSize))
            return false;
        work.pixels += code < next ? length[code] : length[previous] + 1;
        if (next < kTableSize) {
            length[next] = length[previous] + 1;
            if (++next >= 1 << codeBits && codeBits < kMaxCodeBits)
                ++codeBits;
        }
        previous = code;
        return true;
    }

    const int minimumBits;
    const int clear;
    const int end;
    int codeBits;
    int next;
    int previous = -1; // none yet since the last clear
    bool ended = false;
    std::array<qint32, kTableSize> length{};
};

// Follows one frame's LZW codes as the decoder reads them.
FrameWork countFramePixels(Cursor& in) {
    FrameWork work;
    const int minimumBits = in.byte();
    if (minimumBits < 0)
        return work;
    if (minimumBits > kMaxCodeBits) {
        work.wellFormed = false;
        return work;
    }
    CodeLengths table(minimumBits);
    quint32 pending = 0;
    int pendingBits = 0;
    for (int size = in.byte(); size > 0; size = in.byte()) {
        for (int i = 0; i < size; ++i) {
            const int value = in.byte();
            if (value < 0)
                return work;
            // The decoder passes over what follows the end code.
            if (table.ended)
                continue;
            pending |= quint32(value) << pendingBits;
            pendingBits += 8;
            while (pendingBits >= table.codeBits && !table.ended) {
                const int code = int(pending & ((1u << table.codeBits) - 1));
                pending >>= table.codeBits;
                pendingBits -= table.codeBits;
                if (!table.take(code, work)) {
                    work.wellFormed = false;
                    return work;
                }
            }
        }
    }
    return work;
}

} // namespace

std::optional<GifShape> scanGif(const QByteArray& bytes) {
    if (!bytes.startsWith("GIF87a") && !bytes.startsWith("GIF89a"))
        return std::nullopt;
    Cursor in(bytes);
    in.skip(6);
    GifShape shape;
    const int width = in.word();
    const int height = in.word();
    const int flags = in.byte();
    in.skip(2);
    if (flags < 0)
        return shape;
    skipColourTable(in, flags);
    shape.canvas = QSize(width, height);
    for (;;) {
        const int introducer = in.byte();
        if (introducer == 0x21) {
            in.byte(); // the extension's label
            skipSubBlocks(in);
            continue;
        }
        if (introducer != 0x2c)
            break; // the trailer, or whatever the decoder stops at
        const int left = in.word();
        const int top = in.word();
        const int frameWidth = in.word();
        const int frameHeight = in.word();
        const int frameFlags = in.byte();
        if (frameFlags < 0)
            break;
        // Without a screen size the decoder takes the first frame's extent.
        if (shape.frames == 0) {
            if (shape.canvas.width() <= 0)
                shape.canvas.setWidth(left + frameWidth);
            if (shape.canvas.height() <= 0)
                shape.canvas.setHeight(top + frameHeight);
        }
        ++shape.frames;
        skipColourTable(in, frameFlags);
        const FrameWork frame = countFramePixels(in);
        shape.largestFrameWork = std::max(shape.largestFrameWork, frame.pixels);
        if (!frame.wellFormed) {
            shape.wellFormed = false;
            break;
        }
    }
    return shape;
}

bool withinImageBounds(QSize canvas, int frames, qint64 largestFrameWork) {
    if (canvas.isEmpty() || canvas.width() > kMaxImageSide || canvas.height() > kMaxImageSide)
        return false;
    if (frames <= 1)
        return largestFrameWork <= qint64(kMaxImageSide) * kMaxImageSide;
    const qint64 area = qint64(canvas.width()) * canvas.height();
    return frames <= kMaxAnimationFrames && area <= kMaxAnimationPixels &&
           largestFrameWork <= kMaxAnimationPixels;
}

} // namespace charts
