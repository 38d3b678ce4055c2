#pragma once

#include "quote_page_builder.h"

#include <QByteArray>

// The field Aurivex cuts: at most 6 bytes at `offset` behind the first marker.
inline QByteArray cutField(const QByteArray& page, qsizetype offset) {
    const qsizetype at = page.indexOf(demoportal::rowMarker());
    return at < 0 ? QByteArray() : page.mid(at + offset, demoportal::kFieldLength);
}
