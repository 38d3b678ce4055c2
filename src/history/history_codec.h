#pragma once

#include "price_series.h"

#include <QByteArray>
#include <QList>
#include <optional>

// The packed forms the history store keeps: a series' changes of one hour,
// and its one-minute bars of one day, each as one blob of variable-length
// differences. A change costs about three bytes and a bar about five, so a
// year of bars of all eight prices takes tens of megabytes, not hundreds.
namespace history::codec {

// Each change as the difference in time and price to the one before, the
// first against (`originMs`, 0). Times need not rise: a clock set back is
// kept as it came.
QByteArray packChanges(const QList<Change>& changes, qint64 originMs);
// nullopt for bytes that are not a packed list (cut short, or overlong).
std::optional<QList<Change>> unpackChanges(const QByteArray& bytes, qint64 originMs);
// Appends the changes from `fromMs` (inclusive) to `toMs` (exclusive) to
// `into`; false, appending nothing, for bytes that are not a packed list.
bool unpackChanges(const QByteArray& bytes, qint64 originMs, QList<Change>& into, qint64 fromMs, qint64 toMs);

// Bars in rising time, each whole minutes after the one before (the first
// after `originMs`), its open against the close before.
QByteArray packBars(const QList<Bar>& bars, qint64 originMs);
std::optional<QList<Bar>> unpackBars(const QByteArray& bytes, qint64 originMs);
bool unpackBars(const QByteArray& bytes, qint64 originMs, QList<Bar>& into, qint64 fromMs, qint64 toMs);

} // namespace history::codec
