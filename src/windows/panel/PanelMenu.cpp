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
    item(Item::Settings, "SettingsItem", QStringLiteral("&Settings"));
    item(Item::Sched, "SchedItem", QStringLiteral("Sc&heduler"));
    item(Item::Reminder, "ReminderItem", QStringLiteral("&Quick Reminder"));
    item(Item::Report, "ReportItem", QStringLiteral("Performance &Report"));
    addSeparator();
    m_stayOnTopItem = item(Item::StayOnTop, "StayOnTopItem", QStringLiteral("Stay On &Top"));
    m_stayOnTopItem->setCheckable(true);
    m_autoItem = item(Item::Auto, "AutoItem", QStringLiteral("Automatic Time &Update"));
    m_autoItem->setCheckable(true);
    addSeparator();
    item(Item::Help, "HelpItem", QStringLiteral("&Help"));
    item(Item::Connect, "ConnectItem", QStringLiteral("Connect to ") + WebHost);
    item(Item::About, "AboutItem", QStringLiteral("&About Horolux"));
    addSeparator();
    QAction* close = item(Item::Close, "CloseItem", QStringLiteral("&Close"));
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
