#include "app/PanelController.h"
#include "doubles/FakePlatform.h"
#include "rules/settings/SettingsTable.h"
#include "windows/components/TBitmapDigits.h"
#include "windows/ui/ModalSeam.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Runs twenty times faster than the real clock, so minutes pass in seconds while the real
// timer and the real boxes drive the program. A pause moves it on without waiting.
class FastClock : public IClock {
public:
    static constexpr int Speed = 20;
    explicit FastClock(const QDateTime& start) : m_start(start) { m_real.start(); }
    QDateTime now() const override { return m_start.addMSecs(elapsed()); }
    quint32 tickCount() const override { return quint32(elapsed()); }
    void sleepMs(int ms) override { m_slept += ms; }

private:
    qint64 elapsed() const { return m_real.elapsed() * Speed + m_slept; }
    QDateTime m_start;
    QElapsedTimer m_real;
    qint64 m_slept = 0;
};

// Looks at the face from a timer of its own, which Qt also runs inside the boxes' loops, and
// answers every box a few real seconds after it opened.
class BoxAnswerer : public QObject {
public:
    static constexpr int HoldMs = 4500; // 90 seconds on the fast clock

    BoxAnswerer(THoroluxMain& w, FakeSound& sound) : m_w(w), m_sound(sound)
    {
        m_timer.setInterval(50);
        connect(&m_timer, &QTimer::timeout, this, &BoxAnswerer::look);
        m_timer.start();
        m_real.start();
    }

    bool firstBoxAnswered() const { return m_firstClosed; }
    bool anyBoxOpen() const { return !m_openedAt.isEmpty(); }

    // Seen while the first box was open.
    QSet<int> minutesShown;
    QSet<QString> colonShown;
    int beepsWhenOpened = -1;
    int beepsWhenAnswered = -1;

private:
    void look()
    {
        const auto widgets = QApplication::topLevelWidgets();
        for (QWidget* widget : widgets) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible() || m_openedAt.contains(box))
                continue;
            m_openedAt.insert(box, m_real.elapsed());
            if (!m_first) {
                m_first = box;
                beepsWhenOpened = int(m_sound.calls.size());
            }
        }
        if (m_first && !m_firstClosed) {
            minutesShown.insert(m_w.findChild<TBitmapDigits*>("Mins")->Value());
            colonShown.insert(m_w.findChild<QLabel*>("lbColon")->text());
        }
        for (auto it = m_openedAt.begin(); it != m_openedAt.end();) {
            QMessageBox* box = it.key();
            if (m_real.elapsed() - it.value() < HoldMs) {
                ++it;
                continue;
            }
            if (box == m_first) {
                beepsWhenAnswered = int(m_sound.calls.size());
                m_firstClosed = true;
            }
            box->done(QMessageBox::Ok);
            it = m_openedAt.erase(it);
        }
    }

    THoroluxMain& m_w;
    FakeSound& m_sound;
    QTimer m_timer;
    QElapsedTimer m_real;
    QHash<QMessageBox*, qint64> m_openedAt;
    QMessageBox* m_first = nullptr;
    bool m_firstClosed = false;
};

void put(FakeRegistry& reg, const Settings::IntSetting& setting, quint32 dword)
{
    reg.put(setting.section, setting.name, RegValue::fromDword(dword));
}

} // namespace

class TestTickNesting : public QObject {
    Q_OBJECT
private slots:
    void init();
    void clockRunsAndNextMinuteFiresWhileABoxIsOpen_data();
    void clockRunsAndNextMinuteFiresWhileABoxIsOpen();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestTickNesting::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ModalSeam::clearQueues();
    ModalSeam::shownMessages().clear();
}

void TestTickNesting::clockRunsAndNextMinuteFiresWhileABoxIsOpen_data()
{
    QTest::addColumn<bool>("unwritable");
    QTest::addColumn<QStringList>("schedule");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("left"); // the schedule once every box is answered

    // 3 January 2000 is day 36528.
    const QString failing = "Run:/nonexistent/prog,,,1";
    QTest::newRow("failed program")
        << false << QStringList{"09003652801" + failing, "09013652800Reminder:Next"}
        << QStringList{"Scheduler item " + failing + " failed."}
        << QStringList{"09003652901" + failing};
    // Every save fails: the second reminder's own box opens inside the first one.
    QTest::newRow("unwritable schedule folder")
        << true << QStringList{"09003652800Reminder:First", "09013652800Reminder:Next"}
        << QStringList{"Cannot create file @/horolux.dat", "Cannot create file @/horolux.dat"}
        << QStringList{};
}

// The tick used to stop while a scan's box was open: the face stayed on 09:00 and the 09:01
// item waited for the box. Here the real timer drives the real panel and its controller.
void TestTickNesting::clockRunsAndNextMinuteFiresWhileABoxIsOpen()
{
    QFETCH(bool, unwritable);
    QFETCH(QStringList, schedule);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, left);

    QString folder = m_dir->path();
    if (unwritable) {
        // A regular file where the data folder should be: saving fails even as root.
        QFile blocker(folder + "/blocker");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        folder += "/blocker";
    }
    for (QString& text : boxes)
        text.replace('@', folder);

    FakePlatform p(folder + "/");
    FastClock clock(QDateTime(QDate(2000, 1, 3), QTime(8, 59, 52)));
    p.services.clock = &clock;
    p.launcher.result = false;
    put(p.registry, Settings::Alarm, 1);
    PanelController c(p.services);
    for (const QString& line : schedule)
        c.schedule().add(line);
    // The save at the end fails too; nobody is there to answer it.
    const auto atEnd = qScopeGuard([unwritable] {
        if (unwritable)
            ModalSeam::queueMessageAnswer();
    });
    BoxAnswerer answerer(c.panel(), p.sound);

    QVERIFY(QTest::qWaitFor([&] { return answerer.firstBoxAnswered() && !answerer.anyBoxOpen(); },
                            30000));
    QCOMPARE(ModalSeam::shownMessages(), boxes);
    // The face went on to 09:01 and the colon blinked while the first box waited ...
    QVERIFY(answerer.minutesShown.contains(1));
    QCOMPARE(answerer.colonShown, (QSet<QString>{":", ""}));
    // ... and the 09:01 reminder popped up (one beep) before that box was answered.
    QCOMPARE(answerer.beepsWhenAnswered - answerer.beepsWhenOpened, 1);
    QCOMPARE(c.schedule().lines(), left);
}

QTEST_MAIN(TestTickNesting)
#include "tst_ticknesting.moc"
