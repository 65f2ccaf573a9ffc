#include "app/Translations.h"
#include "windows/ui/HelpSystem.h"
#include "windows/ui/HelpWindow.h"
#include "windows/ui/ModalSeam.h"
#include "windows/ui/TOptionsFrm.h"

#include "DialogLayout.h"
#include "doubles/FakeClockSetter.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

namespace {

class RecordingActions : public TimePageActions {
public:
    void btnSetClick(int h, int m, int s) override
    {
        log << QString("set %1:%2:%3").arg(h).arg(m).arg(s);
    }
    void btnAutoClick(QWidget*) override { log << "configure"; }
    void btnSetInternetClick() override { log << "internet"; }
    QStringList log;
};

OptionsValues sample()
{
    OptionsValues v;
    v.use12Hour = true;
    v.hidePeriod = -1;
    v.updateInterval = 7;
    v.drives = QStringList{"/", "/home"};
    v.drive = 1;
    v.chimeMode = -1;
    v.chimeFile = "/snd/hour.wav";
    v.alarmMode = 1;
    v.alarmFile = "/snd/long/alarm.wav";
    v.notificationOnly = true;
    v.taskIcon = true;
    v.idlePriority = false;
    v.hour = 23;
    v.minute = 59;
    v.second = 50;
    return v;
}

template <class T> T* child(QWidget& w, const char* name)
{
    T* found = w.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

} // namespace

class TstOptionsFrm : public QObject {
    Q_OBJECT
private slots:
    void init() { ModalSeam::clearQueues(); }
    void pagesAndControls();
    void everyPageFits_data();
    void everyPageFits();
    void tabOrder_data();
    void tabOrder();
    void showsAndCollectsTheValues();
    void labelsFollowTheTrackBars();
    void browsingKeepsTheModeAndTheOtherFile();
    void timePageButtons_data();
    void timePageButtons();
    void clockSyncLine();
    void onlyOkAndCancelEndIt();
    void helpAsksForThePagesTopic();
};

void TstOptionsFrm::pagesAndControls()
{
    RecordingActions actions;
    TOptionsFrm f(actions);
    QCOMPARE(f.windowTitle(), "Settings");
    QCOMPARE(f.size(), QSize(306, 253));
    QCOMPARE(f.minimumSize(), f.maximumSize());
    QVERIFY(!(f.windowFlags() & Qt::WindowCloseButtonHint));
    auto* pages = child<QTabWidget>(f, "PageControl1");
    QStringList captions;
    for (int i = 0; i < pages->count(); ++i)
        captions << pages->tabText(i);
    QCOMPARE(captions,
             QStringList({"Display", "Monitors", "Sounds", "Task Bar", "Priority", "Time"}));
    QCOMPARE(pages->currentIndex(), 0);
    // Every caption stays in sight: no page hides behind a scroll arrow.
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY2(pages->tabBar()->sizeHint().width() <= pages->width(),
             qPrintable(QString::number(pages->tabBar()->sizeHint().width())));
    const QList<std::tuple<const char*, int, int>> ranges{{"tbHidePeriod", -1, 15},
                                                          {"tbUpdInt", 1, 30}};
    for (const auto& [name, min, max] : ranges) {
        auto* tb = child<QSlider>(f, name);
        QCOMPARE(tb->minimum(), min);
        QCOMPARE(tb->maximum(), max);
        QCOMPARE(tb->tickPosition(), QSlider::TicksBelow);
    }
    QCOMPARE(child<QSpinBox>(f, "seHr")->maximum(), 23);
    QCOMPARE(child<QSpinBox>(f, "seMin")->maximum(), 59);
    QCOMPARE(child<QSpinBox>(f, "seSec")->maximum(), 59);
    QCOMPARE(child<QRadioButton>(f, "rbWavAlarm")->text(), "Play sound:");
    QCOMPARE(child<QCheckBox>(f, "cbTaskIcon")->text(), "Show Task Bar Tray Icon");
    QCOMPARE(child<QGroupBox>(f, "gbInternet")->title(), "Set system clock (Internet)");
    QCOMPARE(child<QPushButton>(f, "btnAuto")->text(), "Configure");
    // The three buttons side by side under the pages.
    const QRect ok = child<QPushButton>(f, "btnOK")->geometry();
    const QRect cancel = child<QPushButton>(f, "btnCancel")->geometry();
    const QRect help = child<QPushButton>(f, "btnHelp")->geometry();
    QVERIFY(ok.top() > pages->geometry().bottom());
    QVERIFY(ok.top() == cancel.top() && cancel.top() == help.top());
    QVERIFY(ok.right() < cancel.left() && cancel.right() < help.left());
    for (QPushButton* b : f.findChildren<QPushButton*>())
        QVERIFY2(!b->autoDefault() && !b->isDefault(), qPrintable(b->objectName()));
}

void TstOptionsFrm::everyPageFits_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("language");
    const char* const captions[] = {"Display",  "Monitors", "Sounds",
                                    "Task Bar", "Priority", "Time"};
    for (const char* language : {"en", "de", "fr"})
        for (int i = 0; i < 6; ++i)
            QTest::addRow("%s %s", captions[i], language) << i << QString(language);
}

// Filled as a user would see it: every control inside its box, none on another, no text cut.
void TstOptionsFrm::everyPageFits()
{
    QFETCH(int, page);
    QFETCH(QString, language);
    const Translations translations{QLocale(language)};
    RecordingActions actions;
    TOptionsFrm f(actions);
    f.setValues(sample());
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    auto* pages = child<QTabWidget>(f, "PageControl1");
    pages->setCurrentIndex(page);
    QVERIFY(pages->tabBar()->sizeHint().width() <= pages->width());
    const QStringList faults = DialogLayout::faults(&f);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

void TstOptionsFrm::tabOrder_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("stops"); // a choice of radio buttons is one stop: its group
    QTest::newRow("Display") << 0 << QStringList{"gbFormat", "tbHidePeriod"};
    QTest::newRow("Monitors") << 1 << QStringList{"tbUpdInt", "cbDrv"};
    QTest::newRow("Sounds") << 2
                            << QStringList{"gbChime", "btnBrowseChime", "gbAlarm", "btnBrowseAlarm",
                                           "cbNotificationOnly"};
    QTest::newRow("Task Bar") << 3 << QStringList{"cbTaskIcon"};
    QTest::newRow("Priority") << 4 << QStringList{"gbPriority"};
    QTest::newRow("Time") << 5 << QStringList{"seHr",   "seMin",   "seSec",
                                              "btnSet", "btnAuto", "btnSetInternet"};
}

// Tab goes from the page captions down the page, then along the buttons and round again.
void TstOptionsFrm::tabOrder()
{
    QFETCH(int, page);
    QFETCH(QStringList, stops);
    RecordingActions actions;
    TOptionsFrm f(actions);
    f.setValues(sample());
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    auto* pages = child<QTabWidget>(f, "PageControl1");
    pages->setCurrentIndex(page);
    pages->tabBar()->setFocus();
    QStringList seen;
    for (qsizetype i = 0; i < stops.size() + 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QWidget* w = QApplication::focusWidget();
        if (qobject_cast<const QRadioButton*>(w))
            w = w->parentWidget();
        seen << (!w ? "nothing" : w == pages->tabBar() ? "captions" : w->objectName());
    }
    stops += QStringList{"btnOK", "btnCancel", "btnHelp", "captions"};
    QCOMPARE(seen, stops);
}

void TstOptionsFrm::showsAndCollectsTheValues()
{
    RecordingActions actions;
    TOptionsFrm f(actions);
    const OptionsValues in = sample();
    f.setValues(in);
    const OptionsValues out = f.values();
    QCOMPARE(out.use12Hour, true);
    QCOMPARE(out.hidePeriod, -1);
    QCOMPARE(out.updateInterval, 7);
    QCOMPARE(out.drives, in.drives);
    QCOMPARE(out.drive, 1);
    QCOMPARE(out.chimeMode, -1); // a stored mode outside the three checks none
    QCOMPARE(out.alarmMode, 1);
    QCOMPARE(out.chimeFile, in.chimeFile);
    QCOMPARE(out.notificationOnly, true);
    QCOMPARE(out.taskIcon, true);
    QCOMPARE(out.idlePriority, false);
    QCOMPARE(QList<int>({out.hour, out.minute, out.second}), QList<int>({23, 59, 50}));

    // Filling again (the same dialog object is never reused, but nothing may stick).
    OptionsValues other = in;
    other.chimeMode = 2;
    f.setValues(other);
    other.chimeMode = 7;
    f.setValues(other);
    QCOMPARE(f.values().chimeMode, -1);
}

void TstOptionsFrm::labelsFollowTheTrackBars()
{
    RecordingActions actions;
    TOptionsFrm f(actions);
    f.setValues(sample());
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(child<QLabel>(f, "lbHide")->text(), "Indefinite");
    QCOMPARE(child<QLabel>(f, "lbUpdInt")->text(), "7 secs");
    QCOMPARE(child<QLabel>(f, "lbChimeFile")->text(), "hour.wav");
    QCOMPARE(child<QLabel>(f, "lbAlarmFile")->text(), "alarm.wav");
    child<QSlider>(f, "tbHidePeriod")->setValue(0);
    QCOMPARE(child<QLabel>(f, "lbHide")->text(), "Off");
    child<QSlider>(f, "tbHidePeriod")->setValue(1);
    QCOMPARE(child<QLabel>(f, "lbHide")->text(), "1 secs");
    child<QSlider>(f, "tbUpdInt")->setValue(30);
    QCOMPARE(child<QLabel>(f, "lbUpdInt")->text(), "30 secs");
}

void TstOptionsFrm::browsingKeepsTheModeAndTheOtherFile()
{
    RecordingActions actions;
    TOptionsFrm f(actions);
    f.setValues(sample());
    ModalSeam::queueFileAnswer("/home/ann/Music/bong.wav");
    child<QPushButton>(f, "btnBrowseChime")->click();
    QCOMPARE(child<QLabel>(f, "lbChimeFile")->text(), "bong.wav");
    QCOMPARE(f.values().chimeFile, "/home/ann/Music/bong.wav");
    QCOMPARE(f.values().chimeMode, -1);
    QCOMPARE(f.values().alarmFile, "/snd/long/alarm.wav");
    ModalSeam::queueFileAnswer(QString()); // cancelled
    child<QPushButton>(f, "btnBrowseAlarm")->click();
    QCOMPARE(f.values().alarmFile, "/snd/long/alarm.wav");
}

void TstOptionsFrm::timePageButtons_data()
{
    QTest::addColumn<QString>("emptied"); // the field the user empties before clicking "Set"
    QTest::addColumn<QString>("set");
    QTest::newRow("untouched") << QString() << "set 23:59:50";
    // An emptied field counts as 0, also once the click has taken the focus from it.
    QTest::newRow("seconds emptied") << "seSec"
                                     << "set 23:59:0";
    QTest::newRow("hours emptied") << "seHr"
                                   << "set 0:59:50";
}

void TstOptionsFrm::timePageButtons()
{
    QFETCH(QString, emptied);
    QFETCH(QString, set);
    RecordingActions actions;
    TOptionsFrm f(actions);
    f.setValues(sample());
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    child<QTabWidget>(f, "PageControl1")->setCurrentIndex(5);
    if (!emptied.isEmpty()) {
        auto* field = child<QSpinBox>(f, qPrintable(emptied));
        field->setFocus();
        QLineEdit* edit = field->findChild<QLineEdit*>();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
    }
    QTest::mouseClick(child<QPushButton>(f, "btnSet"), Qt::LeftButton);
    child<QPushButton>(f, "btnAuto")->click();
    child<QPushButton>(f, "btnSetInternet")->click();
    QCOMPARE(actions.log, QStringList({set, "configure", "internet"}));
}

void TstOptionsFrm::clockSyncLine()
{
    RecordingActions actions;
    TOptionsFrm f(actions);
    FakeClockSetter sync;
    sync.syncState = IClockSync::State::Synchronising;
    f.askClockSync(&sync);
    f.show();
    child<QTabWidget>(f, "PageControl1")->setCurrentIndex(5);
    QTRY_COMPARE(child<QLabel>(f, "lbSync")->text(), "The system is synchronising (NTP).");
    QCOMPARE(DialogLayout::faults(&f), QStringList());
}

void TstOptionsFrm::onlyOkAndCancelEndIt()
{
    RecordingActions actions;
    TOptionsFrm f(actions);
    f.setValues(sample());
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTest::keyClick(&f, Qt::Key_Escape);
    QTest::keyClick(&f, Qt::Key_Return);
    QVERIFY(!f.close());
    QVERIFY(f.isVisible());
    child<QPushButton>(f, "btnCancel")->click();
    QVERIFY(!f.isVisible());
    QCOMPARE(f.result(), int(QDialog::Rejected));
    f.show();
    child<QPushButton>(f, "btnOK")->click();
    QCOMPARE(f.result(), int(QDialog::Accepted));
}

void TstOptionsFrm::helpAsksForThePagesTopic()
{
    RecordingActions actions;
    TOptionsFrm f(actions);
    child<QTabWidget>(f, "PageControl1")->setCurrentIndex(3);
    child<QPushButton>(f, "btnHelp")->click();
    QVERIFY(HelpSystem::window());
    QCOMPARE(HelpSystem::window()->currentTopic(), "settings_Task");
    HelpSystem::closeWindow();
}

QTEST_MAIN(TstOptionsFrm)
#include "tst_optionsfrm.moc"
