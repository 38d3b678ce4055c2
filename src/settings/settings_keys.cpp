#include "settings_keys.h"

#include "core/number_text.h"

namespace settings {

template <> bool Key<bool>::fromText(const QString& text) {
    return numtext::wholeNumber(text) == 1;
}

template <> QString Key<bool>::toText(const bool& value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

template <> int Key<int>::fromText(const QString& text) {
    return numtext::wholeNumber(text);
}

template <> QString Key<int>::toText(const int& value) {
    return QString::number(value);
}

template <> QString Key<QString>::fromText(const QString& text) {
    return text;
}

template <> QString Key<QString>::toText(const QString& value) {
    return value;
}

const QList<KeyInfo>& allKeys() {
    static const QList<KeyInfo> keys = {
        key::startWithSystem, key::designedLayout, key::floatingAtStart,
        key::holdIcbc,        key::holdCcb,        key::holdBoc,
        key::alertsAtStart,   key::buyBelow,       key::buyBelowValue,
        key::buyAbove,        key::buyAboveValue,  key::sellBelow,
        key::sellBelowValue,  key::sellAbove,      key::sellAboveValue,
        key::watchIcbc,       key::watchCcb,       key::watchBoc,
        key::soundAlert,      key::popupAlert,     key::useBuiltInSound,
        key::useCustomSound,  key::builtInSound,   key::customSound,
        key::stripOpacity,    key::chartOpacity,   key::chartRefreshSeconds,
        key::autoHide,        key::stripOnTop,     key::showIcbc,
        key::showCcb,         key::showBoc,        key::showGain,
        key::gainBuyPrice,    key::chartOnTop,     key::mt4Program,
        key::gainFromLedger,  key::valuationBank,  key::desktopAlert,
    };
    return keys;
}

QString designDefault(Form form) {
    return form == Form::Text ? QString() : QStringLiteral("0");
}

} // namespace settings
