#include "windows/sched/TAlarmFrm.h"
#include "windows/ui/DialogFlags.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

QLabel* displayLabel(QWidget* parent, const char* name, const QFont& font)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignCenter);
    // Reminder texts are the user's words, never markup.
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setAutoFillBackground(true);
    return label;
}

} // namespace

TAlarmFrm::TAlarmFrm(QWidget* parent) : QDialog(parent, FixedDialogFlags | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("AlarmFrm"));
    setWindowTitle(tr("Reminder"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing a reminder must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(false);
    setFixedSize(232, 173);

    QPalette aqua = palette();
    aqua.setColor(QPalette::WindowText, QColor(0, 255, 255));
    aqua.setColor(QPalette::Window, Qt::black);

    auto* panel1 = new QFrame(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel1->setGeometry(16, 8, 200, 56);
    panel1->setPalette(aqua);
    panel1->setAutoFillBackground(true);
    const int inner = panel1->frameWidth();
    const int innerWidth = 200 - 2 * inner;

    QFont timeFont(QStringLiteral("Sans Serif"));
    timeFont.setStyleHint(QFont::SansSerif);
    timeFont.setPixelSize(32);
    timeFont.setBold(true);
    m_lbTime = displayLabel(panel1, "lbTime", timeFont);
    m_lbTime->setGeometry(inner, inner, innerWidth, 37);

    QFont dateFont = font();
    dateFont.setPixelSize(11);
    m_lbDate = displayLabel(panel1, "lbDate", dateFont);
    m_lbDate->setGeometry(inner, inner + 37, innerWidth, 56 - 2 * inner - 37);

    auto* panel2 = new QFrame(this);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel2->setGeometry(16, 72, 200, 64);
    m_lbText = new QLabel(panel2);
    m_lbText->setObjectName(QStringLiteral("lbText"));
    m_lbText->setTextFormat(Qt::PlainText);
    m_lbText->setAlignment(Qt::AlignCenter);
    m_lbText->setWordWrap(true);
    m_lbText->setGeometry(panel2->contentsRect());

    auto* btnOK = new QPushButton(tr("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(84, 144, 64, 24);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TAlarmFrm::btnOKClick);

    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TAlarmFrm::setTimeText(const QString& text)
{
    m_lbTime->setText(text);
}

void TAlarmFrm::setDateText(const QString& text)
{
    m_lbDate->setText(text);
}

void TAlarmFrm::setReminderText(const QString& text)
{
    m_lbText->setText(text);
}

void TAlarmFrm::btnOKClick()
{
    close();
}
