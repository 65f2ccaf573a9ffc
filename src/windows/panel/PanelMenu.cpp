#include "windows/panel/PanelMenu.h"

#include <QAction>

PanelMenu::PanelMenu(QWidget* panel) : QMenu(panel)
{
    setObjectName(QStringLiteral("PopupMenu"));
    auto item = [this](Item chosenItem, const char* name, const QString& caption) {
        QAction* a = addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, chosenItem] { emit chosen(chosenItem); });
        return a;
    };
    item(Item::Settings, "SettingsItem", tr("&Settings"));
    item(Item::Sched, "SchedItem", tr("Sc&heduler"));
    item(Item::Reminder, "ReminderItem", tr("&Quick Reminder"));
    item(Item::Report, "ReportItem", tr("Performance &Report"));
    addSeparator();
    m_stayOnTopItem = item(Item::StayOnTop, "StayOnTopItem", tr("Stay On &Top"));
    m_stayOnTopItem->setCheckable(true);
    m_autoItem = item(Item::Auto, "AutoItem", tr("Automatic Time &Update"));
    m_autoItem->setCheckable(true);
    addSeparator();
    item(Item::Help, "HelpItem", tr("&Help"));
    item(Item::Connect, "ConnectItem", tr("Connect to %1").arg(WebHost));
    item(Item::About, "AboutItem", tr("&About Horolux"));
    addSeparator();
    QAction* close = item(Item::Close, "CloseItem", tr("&Close"));
    close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    close->setShortcutContext(Qt::WindowShortcut);
    panel->addAction(close);
}

bool PanelMenu::stayOnTopChecked() const
{
    return m_stayOnTopItem->isChecked();
}

void PanelMenu::setStayOnTopChecked(bool checked)
{
    m_stayOnTopItem->setChecked(checked);
}

bool PanelMenu::autoUpdateChecked() const
{
    return m_autoItem->isChecked();
}

void PanelMenu::setAutoUpdateChecked(bool checked)
{
    m_autoItem->setChecked(checked);
}
