#include "ui/WindowLook.h"

#include <QApplication>
#include <QFile>
#include <QFont>

namespace WindowLook {

void apply(QApplication &app)
{
    QFile skin(QStringLiteral(":/skin/skin.qss"));
    if (skin.open(QIODevice::ReadOnly))
        app.setStyleSheet(QString::fromUtf8(skin.readAll()));
    QFont font(QStringLiteral("Tahoma"), 9);
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("WenQuanYi Micro Hei")});
    app.setFont(font);
}

} // namespace WindowLook
