#include "platform/linux/QtTrayShell.h"

#include <QCursor>

#include <utility>

QtTrayShell::QtTrayShell(QObject* parent)
    : QtTrayShell([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, parent)
{
}

QtTrayShell::QtTrayShell(TrayCheck trayAvailable, QObject* parent)
    : QObject(parent), m_trayAvailable(std::move(trayAvailable))
{
}

QtTrayShell::~QtTrayShell() = default;

ITrayShell::Mouse QtTrayShell::mouseFor(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return Mouse::LeftUp;
    case QSystemTrayIcon::DoubleClick:
        return Mouse::LeftDoubleClick;
    case QSystemTrayIcon::Context:
        return Mouse::RightUp;
    default:
        return Mouse::Other;
    }
}

bool QtTrayShell::add(const TrayRecord& record)
{
    if (m_icons.count(record.id) || !m_trayAvailable || !m_trayAvailable())
        return false;
    auto icon = std::make_unique<QSystemTrayIcon>(record.icon);
    icon->setToolTip(record.tip);
    const int id = record.id;
    connect(icon.get(), &QSystemTrayIcon::activated, this,
            [this, id](QSystemTrayIcon::ActivationReason reason) {
                // Copied first: the handler may replace the callback or remove the icon.
                const Callback callback = m_callback;
                if (callback)
                    callback(id, mouseFor(reason), QCursor::pos());
            });
    icon->show();
    m_icons.emplace(id, std::move(icon));
    return true;
}

bool QtTrayShell::modify(const TrayRecord& record)
{
    QSystemTrayIcon* icon = iconFor(record.id);
    if (!icon)
        return false;
    icon->setIcon(record.icon);
    icon->setToolTip(record.tip);
    return true;
}

bool QtTrayShell::remove(const TrayRecord& record)
{
    const auto it = m_icons.find(record.id);
    if (it == m_icons.end())
        return false;
    it->second->hide();
    // Deleted later: a click handler of this very icon may be what removes it.
    it->second.release()->deleteLater();
    m_icons.erase(it);
    return true;
}

void QtTrayShell::setCallback(Callback callback)
{
    m_callback = std::move(callback);
}

QSystemTrayIcon* QtTrayShell::iconFor(int id) const
{
    const auto it = m_icons.find(id);
    return it == m_icons.end() ? nullptr : it->second.get();
}
