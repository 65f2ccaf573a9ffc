#include "windows/panel/PanelAccessible.h"

PanelAccessible::PanelAccessible(QWidget* panel) : QAccessibleWidget(panel, QAccessible::Window) {}

void PanelAccessible::setParts(const QList<QWidget*>& parts)
{
    m_parts.clear();
    for (QWidget* w : parts)
        m_parts.append(w);
}

int PanelAccessible::childCount() const
{
    return int(m_parts.size());
}

QAccessibleInterface* PanelAccessible::child(int index) const
{
    if (index < 0 || index >= m_parts.size() || !m_parts.at(index))
        return nullptr;
    return QAccessible::queryAccessibleInterface(m_parts.at(index).data());
}

int PanelAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    for (qsizetype i = 0; i < m_parts.size(); ++i)
        if (m_parts.at(i) && m_parts.at(i).data() == child->object())
            return int(i);
    return -1;
}
