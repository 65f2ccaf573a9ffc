#include "windows/components/TTaskIcon.h"

TTaskIcon::TTaskIcon(ITrayShell& shell, QObject* parent) : QObject(parent), m_shell(shell)
{
    m_shell.setCallback([this](int id, ITrayShell::Mouse message, QPoint cursor) {
        shellNotification(id, message, cursor);
    });
}

TTaskIcon::~TTaskIcon()
{
    if (m_active)
        setActive(false);
    m_shell.setCallback({});
}

TrayRecord TTaskIcon::fillRecord() const
{
    TrayRecord record;
    record.id = m_taskIconId;
    record.icon = m_icon;
    record.tip = m_toolTip.left(MaxRecordTip);
    return record;
}

void TTaskIcon::setActive(bool active)
{
    if (active == m_active)
        return;
    if (active) {
        m_addedRecord = fillRecord();
        if (m_shell.add(m_addedRecord))
            m_active = true;
    } else {
        if (m_shell.remove(m_addedRecord))
            m_active = false;
    }
}

void TTaskIcon::modify()
{
    // A refused change is not retried; the property keeps its new value.
    if (m_active)
        m_shell.modify(fillRecord());
}

void TTaskIcon::setIcon(const QIcon& icon)
{
    if (&icon == &m_icon)
        return;
    m_icon = icon;
    modify();
}

void TTaskIcon::setToolTip(const QString& tip)
{
    const QString cut = tip.left(MaxToolTip);
    if (cut == m_toolTip)
        return;
    m_toolTip = cut;
    modify();
}

void TTaskIcon::setTaskIconID(qint32 id)
{
    if (id == m_taskIconId)
        return;
    m_taskIconId = id;
    modify();
}

void TTaskIcon::shellNotification(int id, ITrayShell::Mouse message, QPoint cursor)
{
    if (id != m_taskIconId)
        return;
    switch (message) {
    case ITrayShell::Mouse::LeftUp:
        emit OnClick(this);
        break;
    case ITrayShell::Mouse::LeftDoubleClick:
        emit OnDblClick(this);
        break;
    case ITrayShell::Mouse::RightUp:
        emit OnRightClick(this, cursor);
        break;
    case ITrayShell::Mouse::Other:
        break;
    }
}
