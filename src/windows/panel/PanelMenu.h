#pragma once

#include <QMenu>
#include <QString>

class QAction;

// The panel's popup menu, which the tray icon offers too. It only reports the item chosen; what
// an item does is the controller's. Stay On Top and Automatic Time Update flip their own check
// marks before they are reported.
class PanelMenu : public QMenu {
    Q_OBJECT
public:
    enum class Item {
        Settings,
        Sched,
        Reminder,
        Report,
        StayOnTop,
        Auto,
        Help,
        Connect,
        About,
        Close
    };
    Q_ENUM(Item)

    // The maker's web site, offered by the Connect item.
    static inline const QString WebHost = QStringLiteral("horolux.org");

    // Alt+F4 on the panel chooses Close.
    explicit PanelMenu(QWidget* panel);

    bool stayOnTopChecked() const;
    void setStayOnTopChecked(bool checked);
    bool autoUpdateChecked() const;
    void setAutoUpdateChecked(bool checked);

signals:
    void chosen(PanelMenu::Item item);

private:
    QAction* m_stayOnTopItem = nullptr;
    QAction* m_autoItem = nullptr;
};
