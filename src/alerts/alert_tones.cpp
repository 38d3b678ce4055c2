#include "alert_tones.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace alerttones {

namespace {

constexpr int kSamples = static_cast<int>(kSampleRate * kSeconds);

// One partial of a struck note: a frequency ratio to the fundamental, its
// loudness, and how fast it dies away (time constant in seconds).
struct Partial {
    double ratio;
    double amplitude;
    double decay;
};

using Samples = std::vector<double>;

// Adds a struck note: a short attack so it does not click, then each partial
// decays on its own, the high ones first, as in a bell or a bar.
void strike(Samples& out, double start, double frequency, double length,
            std::initializer_list<Partial> partials) {
    constexpr double attack = 0.004;
    const int first = static_cast<int>(start * kSampleRate);
    const int count = static_cast<int>(length * kSampleRate);
    for (int i = 0; i < count && first + i < kSamples; ++i) {
        const double t = double(i) / kSampleRate;
        const double onset = std::min(1.0, t / attack);
        // The last 20 ms fade to silence, so a note cut short does not click.
        const double tail = std::min(1.0, (length - t) / 0.02);
        double value = 0;
        for (const Partial& p : partials)
            value += p.amplitude * std::exp(-t / p.decay) *
                     std::sin(2 * std::numbers::pi * frequency * p.ratio * t);
        out[static_cast<size_t>(first + i)] += onset * tail * value;
    }
}

// A beep with a soft rise and fall: a sine with a touch of its octave.
void beep(Samples& out, double start, double frequency, double length) {
    constexpr double edge = 0.015;
    const int first = static_cast<int>(start * kSampleRate);
    const int count = static_cast<int>(length * kSampleRate);
    for (int i = 0; i < count && first + i < kSamples; ++i) {
        const double t = double(i) / kSampleRate;
        const double rise = std::min(1.0, t / edge);
        const double fall = std::min(1.0, (length - t) / (2 * edge));
        const double value = std::sin(2 * std::numbers::pi * frequency * t) +
                             0.15 * std::sin(2 * std::numbers::pi * 2 * frequency * t);
        out[static_cast<size_t>(first + i)] += rise * fall * value;
    }
}

Samples chime() {
    Samples s(kSamples);
    const auto bell = {Partial{1.0, 1.0, 0.45}, Partial{2.0, 0.35, 0.25}, Partial{3.0, 0.15, 0.15},
                       Partial{4.2, 0.06, 0.08}};
    for (double round : {0.0, 1.0}) {
        strike(s, round, 659.26, 0.5, bell);         // E5
        strike(s, round + 0.42, 523.25, 0.58, bell); // C5
    }
    return s;
}

Samples arpeggio() {
    Samples s(kSamples);
    const auto bar = {Partial{1.0, 1.0, 0.30}, Partial{4.0, 0.25, 0.06}, Partial{10.0, 0.05, 0.02}};
    const double notes[] = {523.25, 659.26, 783.99, 1046.50}; // C5 E5 G5 C6
    for (double round : {0.0, 1.0}) {
        for (int i = 0; i < 4; ++i)
            strike(s, round + 0.13 * i, notes[i], i == 3 ? 0.6 : 0.4, bar);
    }
    return s;
}

Samples beeps() {
    Samples s(kSamples);
    for (double round : {0.0, 1.0}) {
        for (int i = 0; i < 3; ++i)
            beep(s, round + 0.2 * i, 880.0, 0.12); // A5
    }
    return s;
}

// Scales to a comfortable peak and packs into a WAVE file.
QByteArray pack(const Samples& samples) {
    double peak = 0;
    for (double v : samples)
        peak = std::max(peak, std::abs(v));
    const double gain = peak > 0 ? 0.6 / peak : 0;

    constexpr int bytesPerSample = kBitsPerSample / 8;
    const auto dataBytes = static_cast<quint32>(samples.size() * bytesPerSample);
    QByteArray out;
    out.reserve(44 + static_cast<int>(dataBytes));
    const auto put32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    const auto put16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    out.append("RIFF", 4);
    put32(36 + dataBytes);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(kSampleRate);
    put32(kSampleRate * bytesPerSample);
    put16(bytesPerSample);
    put16(kBitsPerSample);
    out.append("data", 4);
    put32(dataBytes);
    for (double v : samples)
        put16(
            static_cast<quint16>(static_cast<qint16>(std::lround(std::clamp(v * gain, -1.0, 1.0) * 32767))));
    return out;
}

} // namespace

QByteArray wave(int number) {
    switch (number) {
    case 1:
        return pack(chime());
    case 2:
        return pack(arpeggio());
    case 3:
        return pack(beeps());
    default:
        return {};
    }
}

} // namespace alerttones
