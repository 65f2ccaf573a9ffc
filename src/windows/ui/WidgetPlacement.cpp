#include "windows/ui/WidgetPlacement.h"

#include <QWidget>

int WidgetPlacement::windowState() const
{
    if (m_window->isMinimized())
        return 1;
    if (m_window->isMaximized())
        return 2;
    return 0;
}

void WidgetPlacement::setWindowState(int state)
{
    m_window->setWindowState(state == 2 ? Qt::WindowMaximized : Qt::WindowNoState);
}

int WidgetPlacement::top() const
{
    return m_window->y();
}
int WidgetPlacement::left() const
{
    return m_window->x();
}
int WidgetPlacement::width() const
{
    return m_window->width();
}
int WidgetPlacement::height() const
{
    return m_window->height();
}
void WidgetPlacement::setTop(int top)
{
    m_window->move(m_window->x(), top);
}
void WidgetPlacement::setLeft(int left)
{
    m_window->move(left, m_window->y());
}
void WidgetPlacement::setWidth(int width)
{
    m_window->resize(width, m_window->height());
}
void WidgetPlacement::setHeight(int height)
{
    m_window->resize(m_window->width(), height);
}
