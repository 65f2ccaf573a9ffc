#include "windows/ui/TOptionsFrm.h"

#include "windows/ui/DialogButtons.h"
#include "windows/ui/DialogFlags.h"
#include "windows/ui/HelpSystem.h"
#include "windows/ui/ModalSeam.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>

namespace {

QGroupBox* group(QWidget* page, const QString& caption, const char* name, int top, int height,
                 int width = 228)
{
    auto* box = new QGroupBox(caption, page);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(24, top, width, height);
    return box;
}

template <typename Button>
Button* button(QWidget* parent, const QString& caption, const char* name, const QRect& geometry)
{
    auto* b = new Button(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    return b;
}

QLabel* label(QWidget* parent, const QString& text, const char* name, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    return l;
}

QSlider* trackBar(QWidget* parent, const char* name, int min, int max)
{
    auto* tb = new QSlider(Qt::Horizontal, parent);
    tb->setObjectName(QLatin1String(name));
    tb->setRange(min, max);
    tb->setSingleStep(1);
    tb->setPageStep(1);
    tb->setTickInterval(1);
    tb->setTickPosition(QSlider::TicksBelow);
    tb->setGeometry(8, 24, 150, 30);
    return tb;
}

// Off, Beep and Play sound: with a Browse button and the chosen file's name under it.
QButtonGroup* soundGroup(QGroupBox* box, const char* const names[3], QLabel*& fileLabel,
                         const char* labelName, QPushButton*& browse, const char* browseName)
{
    auto* modes = new QButtonGroup(box);
    const QString captions[] = {TOptionsFrm::tr("Off"), TOptionsFrm::tr("Beep"),
                                TOptionsFrm::tr("Play sound:")};
    for (int i = 0; i < 3; ++i)
        modes->addButton(
            button<QRadioButton>(box, captions[i], names[i], QRect(12, 20 + i * 19, 96, 19)), i);
    browse =
        button<QPushButton>(box, TOptionsFrm::tr("Browse..."), browseName, QRect(116, 20, 75, 25));
    fileLabel = label(box, QString(), labelName, QRect(116, 50, 97, 16));
    return modes;
}

// A field the user emptied means its minimum: without this, leaving the field (as clicking
// "Set" does) would bring back the value it had before.
class TimeField : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    void fixup(QString& input) const override
    {
        if (input.trimmed().isEmpty()) // no prefix or suffix on these fields
            input = textFromValue(minimum());
        else
            QSpinBox::fixup(input);
    }
};

// A spin field that was emptied or holds no whole number reads as its minimum.
int fieldValue(const QSpinBox* field)
{
    bool ok = false;
    const int value = field->cleanText().toInt(&ok);
    return ok ? std::clamp(value, field->minimum(), field->maximum()) : field->minimum();
}

} // namespace

TOptionsFrm::TOptionsFrm(TimePageActions& actions, QWidget* parent)
    : QDialog(parent, NoCloseDialogFlags), m_actions(actions)
{
    setObjectName(QStringLiteral("OptionsFrm"));
    setWindowTitle(tr("Settings"));
    setFixedSize(306, 253);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->setGeometry(8, 8, 289, 208);
    // Six captions share 289 pixels: tabs only as wide as their text, never scrolled away.
    m_pages->setUsesScrollButtons(false);
    m_pages->setAccessibleName(tr("Settings pages"));
    m_pages->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 3px 2px; border: 1px solid palette(mid); border-bottom: none;"
        " border-top-left-radius: 2px; border-top-right-radius: 2px; background: palette(button); }"
        "QTabBar::tab:selected { background: palette(window); }"
        "QTabBar::tab:!selected { margin-top: 2px; }"));
    QFont tabFont = m_pages->tabBar()->font();
    tabFont.setPixelSize(11);
    m_pages->tabBar()->setFont(tabFont);

    // Display
    QWidget* display = page(tr("Display"), "Display");
    QGroupBox* format = group(display, tr("Display Format"), "gbFormat", 8, 54);
    m_rb12hr = button<QRadioButton>(format, tr("12 Hour"), "rb12hr", QRect(16, 24, 90, 20));
    m_rb24hr = button<QRadioButton>(format, tr("24 Hour"), "rb24hr", QRect(120, 24, 90, 20));
    m_rb24hr->setChecked(true);
    QGroupBox* hide = group(display, tr("Hide Period"), "gbHide", 70, 66);
    m_tbHidePeriod = trackBar(hide, "tbHidePeriod", OptionsRules::HideMin, OptionsRules::HideMax);
    m_lbHide = label(hide, QString(), "lbHide", QRect(164, 30, 60, 16));
    connect(m_tbHidePeriod, &QSlider::valueChanged, this, &TOptionsFrm::tbHidePeriodChange);

    // Monitors
    QWidget* monitors = page(tr("Monitors"), "Monitors");
    QGroupBox* interval = group(monitors, tr("Update Interval"), "gbUpdInt", 8, 66);
    m_tbUpdInt = trackBar(interval, "tbUpdInt", OptionsRules::UpdIntMin, OptionsRules::UpdIntMax);
    m_lbUpdInt = label(interval, QString(), "lbUpdInt", QRect(164, 30, 60, 16));
    connect(m_tbUpdInt, &QSlider::valueChanged, this, &TOptionsFrm::tbUpdIntChange);
    QGroupBox* disk = group(monitors, tr("Disk Monitor"), "gbDisk", 84, 62);
    QLabel* drive = label(disk, tr("Drive:"), nullptr, QRect(12, 28, 50, 20));
    m_cbDrv = new QComboBox(disk);
    drive->setBuddy(m_cbDrv);
    m_cbDrv->view()->setAccessibleName(tr("Drive"));
    m_cbDrv->setObjectName(QStringLiteral("cbDrv"));
    m_cbDrv->setGeometry(68, 26, 148, 24);

    // Sounds
    QWidget* sounds = page(tr("Sounds"), "Sounds");
    static const char* const chimeNames[] = {"rbNoChime", "rbBeepChime", "rbWavChime"};
    static const char* const alarmNames[] = {"rbNoAlarm", "rbBeepAlarm", "rbWavAlarm"};
    QPushButton* browseChime = nullptr;
    QPushButton* browseAlarm = nullptr;
    QGroupBox* chime = group(sounds, tr("Hourly Chime:"), "gbChime", 0, 86, 224);
    m_chime =
        soundGroup(chime, chimeNames, m_lbChimeFile, "lbChimeFile", browseChime, "btnBrowseChime");
    QGroupBox* alarm = group(sounds, tr("Alarm Sound:"), "gbAlarm", 88, 86, 224);
    m_alarm =
        soundGroup(alarm, alarmNames, m_lbAlarmFile, "lbAlarmFile", browseAlarm, "btnBrowseAlarm");
    m_cbNotificationOnly =
        button<QCheckBox>(alarm, tr("Notice only"), "cbNotificationOnly", QRect(116, 66, 104, 18));
    m_cbNotificationOnly->setToolTip(
        tr("Reminders show only as desktop notifications, without their window"));
    connect(browseChime, &QPushButton::clicked, this, &TOptionsFrm::btnBrowseChimeClick);
    connect(browseAlarm, &QPushButton::clicked, this, &TOptionsFrm::btnBrowseAlarmClick);

    // Task Bar
    QWidget* taskBar = page(tr("Task Bar"), "TaskBar");
    QGroupBox* icon = group(taskBar, tr("Task Bar Icon"), "gbTaskIcon", 8, 56);
    m_cbTaskIcon = button<QCheckBox>(icon, tr("Show Task Bar Tray Icon"), "cbTaskIcon",
                                     QRect(12, 26, 208, 20));

    // Priority
    QWidget* priority = page(tr("Priority"), "Priority");
    QGroupBox* level = group(priority, tr("Run at Priority Level"), "gbPriority", 8, 72);
    m_rbIdle = button<QRadioButton>(level, tr("Idle"), "rbIdle", QRect(16, 24, 90, 20));
    m_rbNormal = button<QRadioButton>(level, tr("Normal"), "rbNormal", QRect(16, 44, 90, 20));

    // Time
    QWidget* time = page(tr("Time"), "Time");
    QGroupBox* manual = group(time, tr("Set system clock (manual)"), "gbManual", 8, 62);
    m_seHr = timeField(manual, "seHr", 23, 10, tr("h"));
    m_seMin = timeField(manual, "seMin", 59, 64, tr("m"));
    m_seSec = timeField(manual, "seSec", 59, 118, tr("s"));
    auto* btnSet = button<QPushButton>(manual, tr("Set"), "btnSet", QRect(172, 26, 46, 25));
    connect(btnSet, &QPushButton::clicked, this, &TOptionsFrm::btnSetClick);
    QGroupBox* internet = group(time, tr("Set system clock (Internet)"), "gbInternet", 84, 62);
    auto* btnAuto =
        button<QPushButton>(internet, tr("Configure"), "btnAuto", QRect(12, 26, 90, 25));
    auto* btnSetInternet =
        button<QPushButton>(internet, tr("Set"), "btnSetInternet", QRect(118, 26, 75, 25));
    connect(btnAuto, &QPushButton::clicked, this, [this] { m_actions.btnAutoClick(this); });
    connect(btnSetInternet, &QPushButton::clicked, this,
            [this] { m_actions.btnSetInternetClick(); });
    m_lbSync = label(time, QString(), "lbSync", QRect(24, 152, 228, 16));

    auto* btnOK = button<QPushButton>(this, tr("&OK"), "btnOK", QRect(62, 224, 75, 25));
    auto* btnCancel =
        button<QPushButton>(this, tr("&Cancel"), "btnCancel", QRect(142, 224, 75, 25));
    auto* btnHelp = button<QPushButton>(this, tr("&Help"), "btnHelp", QRect(222, 224, 75, 25));
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHelp, &QPushButton::clicked, this, &TOptionsFrm::btnHelpClick);
    DialogButtons::widenToCaptions(this);
    // Enter does not confirm the dialog: no button is a default one.
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setAutoDefault(false);

    // Names for screen readers where a group's title or a caption would name two controls alike.
    m_seHr->setAccessibleName(tr("Hours"));
    m_seMin->setAccessibleName(tr("Minutes"));
    m_seSec->setAccessibleName(tr("Seconds"));
    browseChime->setAccessibleName(tr("Browse for chime sound"));
    browseAlarm->setAccessibleName(tr("Browse for alarm sound"));
    btnSet->setAccessibleName(tr("Set manually"));
    btnSetInternet->setAccessibleName(tr("Set from Internet"));

    m_pages->setCurrentIndex(0);
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

QWidget* TOptionsFrm::page(const QString& caption, const char* name)
{
    auto* w = new QWidget;
    w->setObjectName(QLatin1String(name));
    m_pages->addTab(w, caption);
    return w;
}

QSpinBox* TOptionsFrm::timeField(QWidget* parent, const char* name, int max, int x,
                                 const QString& unit)
{
    auto* field = new TimeField(parent);
    field->setObjectName(QLatin1String(name));
    field->setRange(0, max);
    field->setGeometry(x, 26, 38, 24);
    // 12 wide: an "m" needs it, and keeps clear of the next field 4 pixels further on.
    label(parent, unit, nullptr, QRect(x + 40, 30, 12, 16));
    return field;
}

void TOptionsFrm::setValues(const OptionsValues& v)
{
    (v.use12Hour ? m_rb12hr : m_rb24hr)->setChecked(true);
    m_tbHidePeriod->setValue(v.hidePeriod);
    m_tbUpdInt->setValue(v.updateInterval);
    m_cbDrv->clear();
    m_cbDrv->addItems(v.drives);
    m_cbDrv->setCurrentIndex(v.drive);
    for (QButtonGroup* modes : {m_chime, m_alarm}) {
        modes->setExclusive(false); // a stored mode of another value checks none of them
        for (QAbstractButton* b : modes->buttons())
            b->setChecked(false);
        modes->setExclusive(true);
    }
    if (QAbstractButton* b = m_chime->button(v.chimeMode))
        b->setChecked(true);
    if (QAbstractButton* b = m_alarm->button(v.alarmMode))
        b->setChecked(true);
    m_chimeFile = v.chimeFile;
    m_alarmFile = v.alarmFile;
    m_cbNotificationOnly->setChecked(v.notificationOnly);
    m_cbTaskIcon->setChecked(v.taskIcon);
    (v.idlePriority ? m_rbIdle : m_rbNormal)->setChecked(true);
    m_seHr->setValue(v.hour);
    m_seMin->setValue(v.minute);
    m_seSec->setValue(v.second);
}

OptionsValues TOptionsFrm::values() const
{
    OptionsValues v;
    v.use12Hour = m_rb12hr->isChecked();
    v.hidePeriod = m_tbHidePeriod->value();
    v.updateInterval = m_tbUpdInt->value();
    for (int i = 0; i < m_cbDrv->count(); ++i)
        v.drives << m_cbDrv->itemText(i);
    v.drive = m_cbDrv->currentIndex();
    v.chimeMode = m_chime->checkedId();
    v.chimeFile = m_chimeFile;
    v.alarmMode = m_alarm->checkedId();
    v.alarmFile = m_alarmFile;
    v.notificationOnly = m_cbNotificationOnly->isChecked();
    v.taskIcon = m_cbTaskIcon->isChecked();
    v.idlePriority = m_rbIdle->isChecked();
    v.hour = fieldValue(m_seHr);
    v.minute = fieldValue(m_seMin);
    v.second = fieldValue(m_seSec);
    return v;
}

void TOptionsFrm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TOptionsFrm::FormShow()
{
    tbHidePeriodChange();
    tbUpdIntChange();
    m_lbChimeFile->setText(OptionsRules::fileNamePart(m_chimeFile));
    m_lbAlarmFile->setText(OptionsRules::fileNamePart(m_alarmFile));
}

void TOptionsFrm::tbHidePeriodChange()
{
    m_lbHide->setText(OptionsRules::hideLabel(m_tbHidePeriod->value()));
}

void TOptionsFrm::tbUpdIntChange()
{
    m_lbUpdInt->setText(OptionsRules::updateIntervalLabel(m_tbUpdInt->value()));
}

QString TOptionsFrm::soundFilter()
{
    // What the player decodes and desktops ship: sound themes come as Ogg.
    return tr("Sound files (*.wav *.oga *.ogg *.opus *.flac *.mp3);;"
              "Wave audio files (*.wav);;MIDI files (*.mid)");
}

// Choosing a file does not choose "Play sound:".
void TOptionsFrm::browseSound(QString& file, QLabel* label)
{
    const QString chosen =
        ModalSeam::chooseFile(this, tr("Choose a sound file"), file, soundFilter());
    if (chosen.isEmpty())
        return;
    file = chosen;
    label->setText(OptionsRules::fileNamePart(chosen));
}

void TOptionsFrm::btnBrowseChimeClick()
{
    browseSound(m_chimeFile, m_lbChimeFile);
}

void TOptionsFrm::btnBrowseAlarmClick()
{
    browseSound(m_alarmFile, m_lbAlarmFile);
}

void TOptionsFrm::btnHelpClick()
{
    // The page's name is its English caption (less the blank): a translated one names no topic.
    HelpSystem::showTopic(OptionsRules::helpTopic(m_pages->currentWidget()->objectName()));
}

void TOptionsFrm::btnSetClick()
{
    m_actions.btnSetClick(fieldValue(m_seHr), fieldValue(m_seMin), fieldValue(m_seSec));
}

void TOptionsFrm::askClockSync(IClockSync* sync)
{
    if (sync)
        sync->readState(this, [this](IClockSync::State state) {
            m_lbSync->setText(OptionsRules::clockSyncLine(state));
        });
}

// Only OK and Cancel end the dialog: not Escape, not Enter, not the window manager's close.
void TOptionsFrm::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TOptionsFrm::closeEvent(QCloseEvent* event)
{
    event->ignore();
}
