#pragma once

#include <QList>
#include <QString>

// Every section and key of "config.ini" that the program reads or writes.
namespace settings {

enum class Form {
    Flag,    // "1" on, "0" off
    Integer, // the decimal text of a number
    Text,    // stored exactly as typed
};

struct KeyInfo {
    QString section;
    QString key;
    Form form;
};

// In the order the file lays them out.
const QList<KeyInfo>& allKeys();

// What a fresh installation holds: the design-time state of the control each
// key mirrors (unchecked, position 0, empty).
QString designDefault(Form form);

} // namespace settings
