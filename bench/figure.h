#pragma once

#include <QByteArray>
#include <cmath>
#include <cstdio>

// One row of the table scripts/bench prints: what was measured, the
// program's figure and, where one applies, the same figure for a bare Qt
// window (the floor). A negative value means it could not be measured.
//   figure<TAB>label<TAB>value<TAB>unit<TAB>floor
inline void printFigure(const char* label, double value, const char* unit, double floor = NAN) {
    // Small figures keep two decimals, larger ones one.
    const auto text = [](double v, char* out, size_t size) {
        std::snprintf(out, size, std::abs(v) < 10 ? "%.2f" : "%.1f", v);
    };
    char valueText[32];
    char floorText[32] = "-";
    text(value, valueText, sizeof valueText);
    if (!std::isnan(floor))
        text(floor, floorText, sizeof floorText);
    std::printf("figure\t%s\t%s\t%s\t%s\n", label, valueText, unit, floorText);
    std::fflush(stdout);
}
inline void printFigure(const QByteArray& label, double value, const char* unit, double floor = NAN) {
    printFigure(label.constData(), value, unit, floor);
}
