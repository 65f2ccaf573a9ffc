#include "platform/linux/QtScreen.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
QSize screenSize()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    // The whole desktop: a panel kept on a second monitor is restored there.
    return s ? s->virtualGeometry().size() : QSize(640, 480);
}
} // namespace

int QtScreen::width() const
{
    return screenSize().width();
}
int QtScreen::height() const
{
    return screenSize().height();
}
