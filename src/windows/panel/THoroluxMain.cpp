#include "windows/panel/THoroluxMain.h"

#include "windows/components/AppIcon.h"
#include "windows/components/DigitStrip.h"
#include "windows/components/ReadoutAccessible.h"
#include "windows/components/TBitmapDigits.h"
#include "windows/panel/PanelAccessible.h"
#include "windows/panel/PanelMenu.h"
#include "windows/perf/IndicatorBar.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>

namespace {

const QColor Aqua(0, 255, 255);

QLabel* blackLabel(QWidget* parent, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Aqua);
    label->setPalette(pal);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// A bar captioned `caption` in its tiny font, named "ind" + caption, read out by `spokenName`.
IndicatorBar* indicatorBar(QWidget* parent, const QString& caption, const QString& spokenName,
                           const QPoint& at)
{
    auto* bar = new IndicatorBar(caption, parent);
    bar->setObjectName(QStringLiteral("ind") + caption);
    bar->setAccessibleName(spokenName);
    bar->move(at);
    return bar;
}

TBitmapDigits* digitDisplay(QWidget* parent, int left, const QImage& strip)
{
    auto* d = new TBitmapDigits(parent);
    d->setBevelOuter(TBitmapDigits::bvNone);
    d->setBevelInner(TBitmapDigits::bvNone);
    d->setBorderWidth(0);
    d->setColor(Qt::black);
    d->setGeometry(left, 9, 37, 25);
    d->setNumbers(strip);
    d->setNumberWidth(16);
    d->setMargin(2);
    d->setGap(0);
    d->setAutoSize(true);
    d->setFormatWidth(2);
    return d;
}

} // namespace

THoroluxMain::THoroluxMain(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool)
{
    auto* accessible = new PanelAccessible(this);
    QAccessible::registerAccessibleInterface(accessible);
    setObjectName(QStringLiteral("HoroluxMain"));
    setWindowTitle(QCoreApplication::applicationName());
    setWindowIcon(AppIcon::make());
    setFixedSize(187, 53);
    createControls();
    accessible->setParts({m_lbColon, m_indDSK, m_indCPU, m_indMEM, m_indPF, m_lbDate});
    m_menu = new PanelMenu(this);
}

void THoroluxMain::createControls()
{
    // The colon lies behind both digit displays: only its middle shows between them.
    m_lbColon = blackLabel(this, QRect(6, 6, 78, 30));
    m_lbColon->setObjectName(QStringLiteral("lbColon"));
    // Spanning both displays, the colon stands for the whole time with screen readers; its
    // blinking never reaches them.
    QAccessible::registerAccessibleInterface(
        new ReadoutAccessible(m_lbColon, QAccessible::StaticText, [this] { return timeText(); }));
    m_lbColon->setAccessibleName(tr("Time"));
    QFont colonFont(QStringLiteral("Sans Serif"));
    colonFont.setPixelSize(24);
    m_lbColon->setFont(colonFont);

    const QImage strip = DigitStrip::make();
    m_hours = digitDisplay(this, 6, strip);
    m_hours->setObjectName(QStringLiteral("Hours"));
    m_mins = digitDisplay(this, 46, strip);
    m_mins->setObjectName(QStringLiteral("Mins"));

    m_label1 = blackLabel(this, QRect(84, 6, 96, 28));
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_indDSK = indicatorBar(this, QStringLiteral("DSK"), tr("Disk"), QPoint(84, 12));
    m_indCPU = indicatorBar(this, QStringLiteral("CPU"), tr("Processor"), QPoint(132, 12));
    m_indMEM = indicatorBar(this, QStringLiteral("MEM"), tr("Memory"), QPoint(84, 24));
    m_indPF = indicatorBar(this, QStringLiteral("PF"), tr("Paging"), QPoint(132, 24));

    m_lbDate = blackLabel(this, QRect(6, 34, 174, 13));
    m_lbDate->setObjectName(QStringLiteral("lbDate"));
    QAccessible::registerAccessibleInterface(new ReadoutAccessible(
        m_lbDate, QAccessible::StaticText, [this] { return m_lbDate->text(); }));
    m_lbDate->setAccessibleName(tr("Date and status"));
    QFont dateFont(QStringLiteral("Arial"));
    dateFont.setPixelSize(11);
    m_lbDate->setFont(dateFont);
    m_lbDate->setText(tr("Right-click clock face for menu"));

    for (QWidget* w : std::initializer_list<QWidget*>{m_lbDate, m_lbColon, m_label1, m_indDSK,
                                                      m_indCPU, m_indMEM, m_indPF, m_hours, m_mins})
        w->installEventFilter(this);
}

void THoroluxMain::setHoursFormatWidth(int width)
{
    m_hours->setFormatWidth(quint16(width));
}
void THoroluxMain::setHoursValue(int value)
{
    m_hours->setValue(value);
}
void THoroluxMain::setMinutesValue(int value)
{
    m_mins->setValue(value);
    // The tick sets the hours first, so the new time is complete here: once a minute.
    announceChange(m_lbColon, m_timeAnnounced, timeText());
}
QString THoroluxMain::timeText() const
{
    return m_hours->text() + QLatin1Char(':') + m_mins->text();
}
QString THoroluxMain::dateLine() const
{
    return m_lbDate->text();
}
void THoroluxMain::setDateLine(const QString& text)
{
    // A long date or message gets a smaller font rather than losing its ends.
    QFont font = m_lbDate->font();
    int size = 11;
    font.setPixelSize(size);
    while (size > 8 && QFontMetrics(font).horizontalAdvance(text) > m_lbDate->width() - 2)
        font.setPixelSize(--size);
    m_lbDate->setFont(font);
    QString old = m_lbDate->text();
    m_lbDate->setText(text);
    announceChange(m_lbDate, old, text);
}
void THoroluxMain::announceChange(QWidget* part, QString& old, const QString& text)
{
    if (text == old)
        return;
    QAccessibleTextUpdateEvent event(part, 0, old, text);
    old = text;
    QAccessible::updateAccessibility(&event);
}
void THoroluxMain::setColon(bool shown)
{
    m_lbColon->setText(shown ? QStringLiteral(":") : QString());
}
void THoroluxMain::setTrayTip(const QString& tip)
{
    emit trayTipChanged(tip);
}

void THoroluxMain::showAndRaise()
{
    if (m_ended)
        return;
    // The window manager may have minimised the panel with a dialog of ours: taking the
    // minimised state off maps it again, and the flags (frameless tool window) stay as they are.
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void THoroluxMain::showLevel(Indicator bar, int level)
{
    switch (bar) {
    case Indicator::DSK:
        m_indDSK->showLevel(level);
        break;
    case Indicator::CPU:
        m_indCPU->showLevel(level);
        break;
    case Indicator::MEM:
        m_indMEM->showLevel(level);
        break;
    case Indicator::PF:
        m_indPF->showLevel(level);
        break;
    }
}

void THoroluxMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit shown();
}

void THoroluxMain::closeEvent(QCloseEvent* event)
{
    emit closeRequested();
    event->accept();
}

// Mouse: press, drag and click on any control of the face; the frame around them does nothing.
bool THoroluxMain::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: { // the second press of a double click is a press too
        auto* e = static_cast<QMouseEvent*>(event);
        m_dragActive = e->button() == Qt::LeftButton;
        m_dragOrigin = e->globalPosition().toPoint();
        m_dragWindowStart = pos();
        m_dragMoved = false;
        return e->button() == Qt::LeftButton;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (m_dragActive) {
            // Screen coordinates keep the pressed point under the cursor while the window moves.
            move(m_dragWindowStart + (e->globalPosition().toPoint() - m_dragOrigin));
            m_dragMoved = true;
        }
        return m_dragActive;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton)
            return false;
        m_dragActive = false;
        if (!m_dragMoved)
            emit clicked();
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void THoroluxMain::contextMenuEvent(QContextMenuEvent* event)
{
    m_menu->popup(event->globalPos());
}

// The panel: a raised outer bevel, a 3-pixel border and a lowered inner bevel.
void THoroluxMain::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const QColor face = pal.color(QPalette::Button);
    const QColor light = pal.color(QPalette::Light);
    const QColor shadow = pal.color(QPalette::Dark);
    QRect r = rect();
    p.fillRect(r, face);
    auto bevel = [&p](QRect rc, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(rc.topLeft(), rc.topRight());
        p.drawLine(rc.topLeft(), rc.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(rc.bottomLeft(), rc.bottomRight());
        p.drawLine(rc.topRight(), rc.bottomRight());
    };
    bevel(r, light, shadow);
    bevel(r.adjusted(4, 4, -4, -4), shadow, light);
}
