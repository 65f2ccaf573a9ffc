#include "windows/nettime/TAutoFrm.h"
#include "windows/ui/DialogFlags.h"

#include "rules/nettime/TimeServers.h"
#include "rules/settings/SettingsInForce.h"
#include "windows/ui/DialogButtons.h"
#include "windows/ui/HelpSystem.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {
constexpr int kWidth = 330;
constexpr int kHeight = 112;
} // namespace

TAutoFrm::TAutoFrm(QWidget* parent) : QDialog(parent, FixedDialogFlags)
{
    setObjectName(QStringLiteral("AutoFrm"));
    setWindowTitle(tr("Automatic Time Update"));
    setFixedSize(kWidth, kHeight);

    auto* label1 = new QLabel(tr("Window title:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(8, 12, 80, 16);
    m_edWinTitle = new QLineEdit(this);
    m_edWinTitle->setObjectName(QStringLiteral("edWinTitle"));
    m_edWinTitle->setGeometry(92, 8, 230, 23);
    label1->setBuddy(m_edWinTitle);

    auto* label2 = new QLabel(tr("Time server:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(8, 44, 80, 16);
    m_cbTimeSrv = new QComboBox(this);
    m_cbTimeSrv->setObjectName(QStringLiteral("cbTimeSrv"));
    m_cbTimeSrv->setEditable(true);
    // Typing a server of one's own must not add it to the list.
    m_cbTimeSrv->setInsertPolicy(QComboBox::NoInsert);
    m_cbTimeSrv->addItems(TimeServers::list());
    m_cbTimeSrv->setMaxVisibleItems(m_cbTimeSrv->count());
    m_cbTimeSrv->setGeometry(92, 40, 230, 23);
    label2->setBuddy(m_cbTimeSrv);
    // The caption labels the box; its typing field and its list are read out on their own.
    m_cbTimeSrv->lineEdit()->setAccessibleName(tr("Time server"));
    m_cbTimeSrv->view()->setAccessibleName(tr("Time servers"));

    const DialogButtons buttons = DialogButtons::add(this, 85, 78, 81);
    connect(buttons.help, &QPushButton::clicked, this, &TAutoFrm::btnHelpClick);

    setTabOrder(m_edWinTitle, m_cbTimeSrv);
    setTabOrder(m_cbTimeSrv, buttons.ok);
    m_edWinTitle->setFocus();

    // Centred on the screen, not over the settings dialog or the clock.
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TAutoFrm::setWindowTitleText(const QString& title)
{
    m_edWinTitle->setText(title);
}

QString TAutoFrm::windowTitleText() const
{
    return m_edWinTitle->text();
}

void TAutoFrm::setServerText(const QString& server)
{
    // The list marks the entry shown, and none when the text is not one of them.
    const int entry = m_cbTimeSrv->findText(server, Qt::MatchExactly);
    m_cbTimeSrv->setCurrentIndex(entry);
    if (entry < 0)
        m_cbTimeSrv->setEditText(server);
}

QString TAutoFrm::serverText() const
{
    return m_cbTimeSrv->currentText();
}

void TAutoFrm::btnHelpClick()
{
    HelpSystem::showTopic(QStringLiteral("autoupdate"));
}

void btnAutoClick(QWidget* parent, SettingsInForce& settings, const SettingsStore& store)
{
    TAutoFrm dialog(parent);
    dialog.setWindowTitleText(settings.InternetWindowTitle);
    dialog.setServerText(settings.TimeServerHost);
    if (dialog.exec() == QDialog::Accepted)
        TimeServers::applyConfiguration(settings, store, dialog.windowTitleText(),
                                        dialog.serverText());
}
