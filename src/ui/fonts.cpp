#include "fonts.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutions() {
    const QStringList serif = {QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC"),
                               QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("WenQuanYi Micro Hei"),
                               QStringLiteral("Noto Sans CJK SC")};
    const QStringList sans = {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
                              QStringLiteral("Noto Sans CJK SC"), QStringLiteral("AR PL UMing CN")};
    for (const char* name : {"宋体", "新宋体", "SimSun", "NSimSun"})
        QFont::insertSubstitutions(QString::fromUtf8(name), serif);
    for (const char* name : {"黑体", "SimHei", "微软雅黑", "Microsoft YaHei"})
        QFont::insertSubstitutions(QString::fromUtf8(name), sans);
}
