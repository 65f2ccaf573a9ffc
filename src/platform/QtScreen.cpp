#include "platform/QtScreen.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
QSize screenSize()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().size() : QSize(640, 480);
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
