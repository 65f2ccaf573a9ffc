#include "windows/sched/TAlarmFrm.h"
#include "windows/ui/DialogFlags.h"

#include <QActionGroup>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextEdit>
#include <QTextFrame>
#include <QToolButton>

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
    // A read-only text area rather than a label: a long text scrolls instead of being cut, and
    // the window keeps its size.
    m_lbText = new QTextEdit(panel2);
    m_lbText->setObjectName(QStringLiteral("lbText"));
    m_lbText->setReadOnly(true);
    m_lbText->setAcceptRichText(false);
    m_lbText->setFrameShape(QFrame::NoFrame);
    m_lbText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lbText->setLineWrapMode(QTextEdit::WidgetWidth);
    m_lbText->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // The panel's colour whether or not the text scrolls.
    QPalette plain = m_lbText->palette();
    plain.setColor(QPalette::Base, plain.color(QPalette::Window));
    m_lbText->setPalette(plain);
    m_lbText->setGeometry(panel2->contentsRect());
    m_lbText->setAccessibleName(tr("Reminder text"));

    auto* btnOK = new QPushButton(tr("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(40, 144, 64, 24);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TAlarmFrm::btnOKClick);

    m_btnSnooze = new QToolButton(this);
    m_btnSnooze->setObjectName(QStringLiteral("btnSnooze"));
    m_btnSnooze->setText(tr("Snooze"));
    m_btnSnooze->setGeometry(112, 144, 80, 24);
    m_btnSnooze->setPopupMode(QToolButton::MenuButtonPopup);
    auto* menu = new QMenu(m_btnSnooze);
    menu->setObjectName(QStringLiteral("mnSnooze"));
    auto* choices = new QActionGroup(menu);
    const QString labels[] = {tr("5 minutes"), tr("10 minutes"), tr("30 minutes"), tr("1 hour"),
                              tr("Tomorrow at this time")};
    for (int i = 0; i < 5; ++i) {
        QAction* choice = menu->addAction(labels[i]);
        choice->setCheckable(true);
        choice->setData(i);
        choices->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, i] {
            setSnoozeChoice(i);
            emit snoozeChosen(i);
        });
    }
    m_btnSnooze->setMenu(menu);
    connect(m_btnSnooze, &QToolButton::clicked, this,
            [this] { emit snoozeChosen(m_snoozeChoice); });
    setSnoozeChoice(m_snoozeChoice);

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
    // The user's words, never markup.
    m_lbText->setPlainText(text);
    QTextOption centred = m_lbText->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    m_lbText->document()->setDefaultTextOption(centred);
    centreText();
}

void TAlarmFrm::setSnoozeChoice(int choice)
{
    if (choice < 0 || choice > 4)
        return;
    m_snoozeChoice = choice;
    const QList<QAction*> actions = m_btnSnooze->menu()->actions();
    actions.at(choice)->setChecked(true);
    const QString label = actions.at(choice)->text();
    m_btnSnooze->setToolTip(tr("Snooze: %1").arg(label));
    m_btnSnooze->setAccessibleDescription(m_btnSnooze->toolTip());
}

void TAlarmFrm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreText();
}

void TAlarmFrm::centreText()
{
    QTextDocument* doc = m_lbText->document();
    QTextFrameFormat frame = doc->rootFrame()->frameFormat();
    frame.setTopMargin(0);
    doc->rootFrame()->setFrameFormat(frame);
    doc->setTextWidth(m_lbText->viewport()->width());
    const qreal spare = m_lbText->viewport()->height() - doc->size().height();
    if (spare > 0) {
        frame.setTopMargin(spare / 2);
        doc->rootFrame()->setFrameFormat(frame);
    }
    // The first line is what the reader looks for first.
    m_lbText->verticalScrollBar()->setValue(0);
}

void TAlarmFrm::btnOKClick()
{
    close();
}
