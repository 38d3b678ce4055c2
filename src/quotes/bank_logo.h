#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

// A neutral 100 × 27 mark for a bank card: a coloured seal with one
// character and the bank's short name. No bank's own logo is used.
QPixmap paintBankMark(const QString& sealCharacter, const QString& name, const QColor& colour);
