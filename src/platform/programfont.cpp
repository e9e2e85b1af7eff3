#include "platform/programfont.h"

#include <QStringList>

QFont songtiFont(int pointSize) {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("Microsoft YaHei")});
    font.setPointSize(pointSize);
    return font;
}
