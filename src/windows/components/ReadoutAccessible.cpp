#include "windows/components/ReadoutAccessible.h"

#include <utility>

ReadoutAccessible::ReadoutAccessible(QWidget* widget, QAccessible::Role role,
                                     std::function<QString()> value, std::function<int()> level)
    : QAccessibleWidget(widget, role), m_value(std::move(value)), m_level(std::move(level))
{
}

void* ReadoutAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::ValueInterface && m_level)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString ReadoutAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return m_value();
    return QAccessibleWidget::text(t);
}

QString ReadoutAccessible::text(int startOffset, int endOffset) const
{
    const QString value = m_value();
    if (endOffset < 0 || endOffset > value.size())
        endOffset = int(value.size());
    startOffset = qBound(0, startOffset, endOffset);
    return value.mid(startOffset, endOffset - startOffset);
}

int ReadoutAccessible::characterCount() const
{
    return int(m_value().size());
}

void ReadoutAccessible::selection(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = 0;
}

QString ReadoutAccessible::attributes(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

QVariant ReadoutAccessible::currentValue() const
{
    return m_level ? QVariant(m_level()) : QVariant();
}
