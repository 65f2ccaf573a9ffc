#pragma once

#include <QDialog>

struct SettingsInForce;
class SettingsStore;
class QComboBox;
class QLineEdit;

// The configuration of the automatic time update: the title of the window whose presence
// means the connection is up, and the time server (one of the list, or any text).
class TAutoFrm : public QDialog {
    Q_OBJECT
public:
    explicit TAutoFrm(QWidget* parent = nullptr);

    void setWindowTitleText(const QString& title);
    QString windowTitleText() const;
    // The server as shown, country prefix and all; the host rule is applied on OK.
    void setServerText(const QString& server);
    QString serverText() const;

public slots:
    void btnHelpClick();

private:
    QLineEdit* m_edWinTitle;
    QComboBox* m_cbTimeSrv;
};

// The settings dialog's "Configure": shows the dialog over `parent` with the settings in
// force, and on OK puts the new title and server in force and stores them.
void btnAutoClick(QWidget* parent, SettingsInForce& settings, const SettingsStore& store);
