#include "windows/sched/TReminderFrm.h"
#include "windows/ui/DialogFlags.h"

#include "rules/sched/EditorRules.h"
#include "windows/ui/DialogButtons.h"
#include "windows/ui/HelpSystem.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

TReminderFrm::TReminderFrm(QWidget* parent) : QDialog(parent, FixedDialogFlags)
{
    setObjectName(QStringLiteral("ReminderFrm"));
    setWindowTitle(tr("Quick Reminder"));
    setFixedSize(266, 193);

    auto* label1 = new QLabel(tr("Reminder time:"), this);
    label1->setGeometry(12, 8, 120, 16);

    m_seHr = new QSpinBox(this);
    m_seHr->setObjectName(QStringLiteral("seHr"));
    m_seHr->setRange(0, 23);
    m_seHr->setGeometry(12, 26, 48, 22);
    auto* label2 = new QLabel(tr("h"), this);
    label2->setGeometry(64, 29, 12, 16);

    m_seMin = new QSpinBox(this);
    m_seMin->setObjectName(QStringLiteral("seMin"));
    m_seMin->setRange(0, 59);
    m_seMin->setGeometry(80, 26, 48, 22);
    auto* label3 = new QLabel(tr("m"), this);
    label3->setGeometry(132, 29, 16, 16);

    auto* label4 = new QLabel(tr("Reminder text:"), this);
    label4->setGeometry(12, 54, 120, 16);

    // Enter starts a new line here; the line breaks become blanks when the line is stored.
    m_mmText = new QPlainTextEdit(this);
    m_mmText->setObjectName(QStringLiteral("mmText"));
    m_mmText->setTabChangesFocus(true);
    m_mmText->setGeometry(12, 72, 240, 89);
    // The captions label the fields for screen readers; the two time fields need names of their
    // own, since one caption covers both.
    label1->setBuddy(m_seHr);
    label4->setBuddy(m_mmText);
    m_seHr->setAccessibleName(tr("Hours"));
    m_seMin->setAccessibleName(tr("Minutes"));

    const DialogButtons buttons = DialogButtons::add(this, 12, 164, 83);
    connect(buttons.help, &QPushButton::clicked, this, &TReminderFrm::btnHelpClick);

    setTabOrder(m_seHr, m_seMin);
    setTabOrder(m_seMin, m_mmText);
    setTabOrder(m_mmText, buttons.ok);
    m_seHr->setFocus();

    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TReminderFrm::setTime(int hour, int minute)
{
    m_seHr->setValue(hour);
    m_seMin->setValue(minute);
}

int TReminderFrm::hour() const
{
    return EditorRules::spinValue(m_seHr->cleanText(), m_seHr->minimum(), m_seHr->maximum());
}

int TReminderFrm::minute() const
{
    return EditorRules::spinValue(m_seMin->cleanText(), m_seMin->minimum(), m_seMin->maximum());
}

QString TReminderFrm::text() const
{
    return m_mmText->toPlainText();
}

void TReminderFrm::btnHelpClick()
{
    HelpSystem::showTopic(QStringLiteral("QRemind"));
}
