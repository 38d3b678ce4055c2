#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSize>
#include <QtGlobal>
#include <utility>

// Writes GIFs whose frames are each one colour, coded as ever longer LZW
// runs: a frame of millions of pixels takes a few kilobytes, the way a
// decompression bomb does. A frame may also unpack to more pixels than it
// holds, which decoders write past its end.
namespace gifforge {

struct Frame {
    Frame(QRect where, qint64 unpacked = -1, int index = 1, QByteArray given = {})
        : rect(where), pixels(unpacked), colour(index), data(std::move(given)) {}

    QRect rect;
    qint64 pixels;   // what its data unpacks to; -1: exactly its area
    int colour;      // 0 white, 1 black, 2 red, 3 blue
    QByteArray data; // when given, the frame's LZW data as it stands
};

// LZW codes packed as GIF packs them, low bits first.
class Codes {
public:
    void put(int code, int bits) {
        pending_ |= quint32(code) << pendingBits_;
        pendingBits_ += bits;
        while (pendingBits_ >= 8) {
            bytes_ += char(pending_ & 0xff);
            pending_ >>= 8;
            pendingBits_ -= 8;
        }
    }
    QByteArray finish() {
        if (pendingBits_ > 0)
            bytes_ += char(pending_ & 0xff);
        return bytes_;
    }

private:
    QByteArray bytes_;
    quint32 pending_ = 0;
    int pendingBits_ = 0;
};

namespace detail {

inline void word(QByteArray& out, int value) {
    out += char(value & 0xff);
    out += char(value >> 8 & 0xff);
}

// Codes of a two-bit LZW stream writing `pixels` pixels of one colour: each
// code is the entry about to be made, one longer than the last; once the
// table is full the longest entry repeats, and the last code fits the rest.
inline QByteArray runOf(qint64 pixels, int colour) {
    constexpr int clear = 4;
    constexpr int end = 5;
    constexpr int full = 4096;
    Codes codes;
    int bits = 3;
    int next = clear + 2;
    codes.put(clear, bits);
    codes.put(colour, bits);
    qint64 previousLength = 1;
    qint64 left = pixels - 1;
    while (left > 0) {
        // Entry k, once made, is a run of k - 4 pixels.
        int code;
        qint64 length;
        if (next < full && previousLength + 1 <= left) {
            code = next;
            length = previousLength + 1;
        } else if (next == full && left >= full - 1 - 4) {
            code = full - 1;
            length = full - 1 - 4;
        } else {
            code = left == 1 ? colour : int(left) + 4;
            length = left;
        }
        codes.put(code, bits);
        left -= length;
        if (next < full && ++next >= 1 << bits && bits < 12)
            ++bits;
        previousLength = length;
    }
    codes.put(end, bits);
    return codes.finish();
}

} // namespace detail

// A GIF89a of `screen` (the canvas a decoder allocates) holding `frames`,
// animated (looping, 20 ms a frame) when there are several.
inline QByteArray gif(QSize screen, const QList<Frame>& frames) {
    QByteArray out("GIF89a");
    detail::word(out, screen.width());
    detail::word(out, screen.height());
    out += char(0x91); // a global table of four colours
    out += char(0);
    out += char(0);
    out += QByteArray::fromHex("ffffff000000ff00000000ff");
    if (frames.size() > 1)
        out += QByteArray::fromHex("21ff0b") + "NETSCAPE2.0" + QByteArray::fromHex("0301000000");
    for (const Frame& frame : frames) {
        out += QByteArray::fromHex("21f904040200ff00"); // 20 ms, no transparency
        out += char(0x2c);
        detail::word(out, frame.rect.x());
        detail::word(out, frame.rect.y());
        detail::word(out, frame.rect.width());
        detail::word(out, frame.rect.height());
        out += char(0);
        out += char(2); // the LZW code size
        const qint64 area = qint64(frame.rect.width()) * frame.rect.height();
        const QByteArray data = !frame.data.isEmpty()
                                    ? frame.data
                                    : detail::runOf(frame.pixels < 0 ? area : frame.pixels, frame.colour);
        for (qsizetype at = 0; at < data.size(); at += 255) {
            const QByteArray block = data.mid(at, 255);
            out += char(block.size());
            out += block;
        }
        out += char(0);
    }
    out += char(0x3b);
    return out;
}

} // namespace gifforge
