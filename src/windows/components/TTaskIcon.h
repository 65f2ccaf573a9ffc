#pragma once

#include "ports/ITrayShell.h"

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>

// One icon with a tip in the desktop's notification area; mouse actions on it become signals.
// The shell must outlive the component.
class TTaskIcon : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE setActive)
    Q_PROPERTY(QIcon Icon READ Icon WRITE setIcon)
    Q_PROPERTY(QString ToolTip READ ToolTip WRITE setToolTip)
    Q_PROPERTY(qint32 TaskIconID READ TaskIconID WRITE setTaskIconID)

public:
    static constexpr int MaxToolTip = 64;
    // The shell's record keeps room for a terminating zero.
    static constexpr int MaxRecordTip = 63;

    explicit TTaskIcon(ITrayShell& shell, QObject* parent = nullptr);
    ~TTaskIcon() override;

    bool Active() const { return m_active; }
    // True adds the icon, false removes it; the property changes only when the shell agrees.
    void setActive(bool active);
    QIcon Icon() const { return m_icon; }
    void setIcon(const QIcon& icon);
    QString ToolTip() const { return m_toolTip; }
    // Kept to its first 64 characters.
    void setToolTip(const QString& tip);
    qint32 TaskIconID() const { return m_taskIconId; }
    void setTaskIconID(qint32 id);

signals:
    // Left button released over the icon.
    void OnClick(TTaskIcon* sender);
    // Left button double-clicked over the icon.
    void OnDblClick(TTaskIcon* sender);
    // Right button released over the icon; `screenPos` is the pointer in screen coordinates.
    void OnRightClick(TTaskIcon* sender, QPoint screenPos);

private:
    TrayRecord fillRecord() const;
    void modify();
    void shellNotification(int id, ITrayShell::Mouse message, QPoint cursor);

    ITrayShell& m_shell;
    bool m_active = false;
    QIcon m_icon;
    QString m_toolTip;
    qint32 m_taskIconId = 0;
    // The record the icon was added with; removing uses it, so the identifier matches.
    TrayRecord m_addedRecord;
};
