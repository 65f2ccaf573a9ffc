#pragma once

#include "ports/ITrayShell.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <functional>
#include <map>
#include <memory>

// The notification area through QSystemTrayIcon, one per identifier.
class QtTrayShell : public QObject, public ITrayShell {
    Q_OBJECT
public:
    using TrayCheck = std::function<bool()>;

    explicit QtTrayShell(QObject* parent = nullptr);
    // Tests replace the question whether the desktop has a notification area.
    explicit QtTrayShell(TrayCheck trayAvailable, QObject* parent = nullptr);
    ~QtTrayShell() override;

    // False when there is no notification area or the identifier is already shown.
    bool add(const TrayRecord& record) override;
    // False when no icon has this identifier.
    bool modify(const TrayRecord& record) override;
    bool remove(const TrayRecord& record) override;
    void setCallback(Callback callback) override;

    // The icon shown under an identifier, or null.
    QSystemTrayIcon* iconFor(int id) const;

    static Mouse mouseFor(QSystemTrayIcon::ActivationReason reason);

private:
    TrayCheck m_trayAvailable;
    Callback m_callback;
    std::map<int, std::unique_ptr<QSystemTrayIcon>> m_icons;
};
