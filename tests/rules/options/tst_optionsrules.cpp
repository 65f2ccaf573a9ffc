#include "core/ClockReading.h"
#include "doubles/FakeRegistry.h"
#include "rules/options/OptionsRules.h"
#include "rules/settings/SettingsInForce.h"
#include "rules/settings/SettingsStore.h"

#include <QTest>

namespace {

// The names written, in order: the dialog writes value by value.
class OrderedRegistry : public FakeRegistry {
public:
    RegWrite setValue(const QString& keyPath, const QString& name, const RegValue& value) override
    {
        written << name;
        return FakeRegistry::setValue(keyPath, name, value);
    }
    QStringList written;
};

class RecordingEffects : public OptionsEffects {
public:
    void SetDisplayFormat(bool use12Hour) override { log << QString("format %1").arg(use12Hour); }
    void GetDriveSpace(const QString& drive) override { log << "drive " + drive; }
    void setTrayIconShown(bool shown) override { log << QString("tray %1").arg(shown); }
    bool SetPriorityClass(int c) override
    {
        log << QString("priority %1").arg(c);
        return true;
    }
    void ShowWarning(const QString& text) override { log << "warning " + text; }
    QStringList log;
};

SettingsInForce running()
{
    SettingsInForce s;
    s.HideInterval = 4;
    s.UpdateInterval = 1;
    s.MonitorDrive = "/";
    s.ChimeMode = 1;
    s.ChimeSound = "/snd/chime.wav";
    s.AlarmMode = 2;
    s.AlarmSound = "/snd/alarm.wav";
    return s;
}

const QStringList Drives{"/", "/home", "/data"};

qint32 storedInt(FakeRegistry& reg, const char* name)
{
    const auto v = reg.get("Settings", QLatin1String(name));
    return v && v->type == RegValue::Type::Dword ? qint32(v->dword) : -99;
}
QString storedText(FakeRegistry& reg, const char* name)
{
    const auto v = reg.get("Settings", QLatin1String(name));
    return v && v->type == RegValue::Type::Sz ? QString::fromUtf8(v->text) : "<none>";
}

} // namespace

class TstOptionsRules : public QObject {
    Q_OBJECT
private slots:
    void fillShowsStoredValuesWithinTheControls_data();
    void fillShowsStoredValuesWithinTheControls();
    void fillOffersAVanishedDriveAndTheTime();
    void okWithoutChangeRewritesAllButTheFormat();
    void applyFollowsTheUsersChoices_data();
    void applyFollowsTheUsersChoices();
    void labels_data();
    void labels();
};

void TstOptionsRules::fillShowsStoredValuesWithinTheControls_data()
{
    QTest::addColumn<int>("hide");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("chime");
    QTest::addColumn<int>("priority"); // stored PriorityClass; 0 = none stored
    QTest::addColumn<int>("hideShown");
    QTest::addColumn<int>("intervalShown");
    QTest::addColumn<int>("chimeShown");
    QTest::addColumn<bool>("idle");
    QTest::newRow("ordinary") << 4 << 1 << 1 << 0 << 4 << 1 << 1 << true;
    QTest::newRow("hide 60 shows 15") << 60 << 5 << 2 << 64 << 15 << 5 << 2 << true;
    QTest::newRow("below the ends") << -7 << 0 << 0 << 32 << -1 << 1 << 0 << false;
    QTest::newRow("interval 99") << 0 << 99 << 0 << 32 << 0 << 30 << 0 << false;
    QTest::newRow("unknown chime checks none") << 0 << 1 << 7 << 0 << 0 << 1 << -1 << true;
    QTest::newRow("negative chime") << 0 << 1 << -1 << 0 << 0 << 1 << -1 << true;
    QTest::newRow("refused class is not idle") << 0 << 1 << 0 << 128 << 0 << 1 << 0 << false;
}

void TstOptionsRules::fillShowsStoredValuesWithinTheControls()
{
    QFETCH(int, hide);
    QFETCH(int, interval);
    QFETCH(int, chime);
    QFETCH(int, priority);
    FakeRegistry reg;
    SettingsStore store(reg);
    if (priority != 0)
        store.WriteRegInt("Settings", "PriorityClass", priority);
    SettingsInForce s = running();
    s.HideInterval = hide;
    s.UpdateInterval = interval;
    s.ChimeMode = chime;
    const OptionsValues v = OptionsRules::fill(s, ClockReading{}, store, Drives);
    QTEST(v.hidePeriod, "hideShown");
    QTEST(v.updateInterval, "intervalShown");
    QTEST(v.chimeMode, "chimeShown");
    QTEST(v.idlePriority, "idle");
}

void TstOptionsRules::fillOffersAVanishedDriveAndTheTime()
{
    FakeRegistry reg;
    SettingsStore store(reg);
    SettingsInForce s = running();
    ClockReading clock;
    clock.CurrentHour = 15;
    clock.CurrentMinute = 10;
    clock.CurrentSecond = 42;
    s.MonitorDrive = "/home";
    s.TaskIcon = true;
    OptionsValues v = OptionsRules::fill(s, clock, store, Drives);
    QCOMPARE(v.drives, Drives);
    QCOMPARE(v.drive, 1);
    QCOMPARE(v.taskIcon, true);
    QCOMPARE(QList<int>({v.hour, v.minute, v.second}), QList<int>({15, 10, 42}));

    // Unmounted since it was chosen: still offered, and kept by OK.
    s.MonitorDrive = "/media/usb";
    v = OptionsRules::fill(s, clock, store, Drives);
    QCOMPARE(v.drives, QStringList({"/media/usb", "/", "/home", "/data"}));
    QCOMPARE(v.drive, 0);
    RecordingEffects fx;
    OptionsRules::apply(v, s, store, fx);
    QCOMPARE(s.MonitorDrive, "/media/usb");
    QVERIFY(fx.log.contains("drive /media/usb"));
}

void TstOptionsRules::okWithoutChangeRewritesAllButTheFormat()
{
    OrderedRegistry reg;
    SettingsStore store(reg);
    SettingsInForce s = running();
    const OptionsValues v = OptionsRules::fill(s, ClockReading{}, store, Drives);
    RecordingEffects fx;
    OptionsRules::apply(v, s, store, fx);
    QCOMPARE(reg.written,
             QStringList({"Hide Interval", "UpdateInterval", "Drive", "Chime", "ChimeSound",
                          "Alarm", "AlarmSound", "TaskIcon", "PriorityClass"}));
    QCOMPARE(fx.log, QStringList({"drive /", "tray 0", "priority 64"}));
    QCOMPARE(storedInt(reg, "Chime"), 1);
    QCOMPARE(storedText(reg, "AlarmSound"), "/snd/alarm.wav");
}

// Each row changes some controls of an unchanged dialog; `effects` are the calls in order, and
// `stored` the values the file then holds ("Name=value").
void TstOptionsRules::applyFollowsTheUsersChoices_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("effects");
    QTest::addColumn<QStringList>("stored");
    const QString warning = "warning " + OptionsRules::TrayWarning;
    QTest::newRow("24 to 12 hours")
        << "12h" << QStringList{"format 1", "drive /", "tray 0", "priority 64"}
        << QStringList{"12Hr Format=1"};
    QTest::newRow("indefinite hide, tray box cleared")
        << "hide-1" << QStringList{"drive /", warning, "tray 1", "priority 64"}
        << QStringList{"Hide Interval=-1", "TaskIcon=1"};
    QTest::newRow("indefinite hide, tray box checked")
        << "hide-1 tray" << QStringList{"drive /", "tray 1", "priority 64"}
        << QStringList{"Hide Interval=-1", "TaskIcon=1"};
    QTest::newRow("hide off, tray cleared")
        << "hide0" << QStringList{"drive /", "tray 0", "priority 64"}
        << QStringList{"Hide Interval=0", "TaskIcon=0"};
    QTest::newRow("play sound without a file")
        << "chime2 nofile" << QStringList{"drive /", "tray 0", "priority 64"}
        << QStringList{"Chime=2", "ChimeSound="};
    QTest::newRow("no chime button checked stores off")
        << "chime-1" << QStringList{"drive /", "tray 0", "priority 64"} << QStringList{"Chime=0"};
    QTest::newRow("drive change") << "drive2" << QStringList{"drive /data", "tray 0", "priority 64"}
                                  << QStringList{"Drive=/data"};
    QTest::newRow("normal priority") << "normal" << QStringList{"drive /", "tray 0", "priority 32"}
                                     << QStringList{"PriorityClass=32"};
    QTest::newRow("a 1000-character sound path is kept whole")
        << "longfile" << QStringList{"drive /", "tray 0", "priority 64"}
        << QStringList{"AlarmSound=/" + QString(999, 'a')};
    QTest::newRow("reminders as notifications only")
        << "notice" << QStringList{"drive /", "tray 0", "priority 64"}
        << QStringList{"NotificationOnly=1"};
    QTest::newRow("out-of-range record is stored clamped")
        << "wild" << QStringList{"drive /", "tray 0", "priority 64"}
        << QStringList{"Hide Interval=15", "UpdateInterval=1"};
}

void TstOptionsRules::applyFollowsTheUsersChoices()
{
    QFETCH(QString, change);
    QFETCH(QStringList, effects);
    QFETCH(QStringList, stored);
    FakeRegistry reg;
    SettingsStore store(reg);
    SettingsInForce s = running();
    OptionsValues v = OptionsRules::fill(s, ClockReading{}, store, Drives);
    const QStringList words = change.split(' ');
    for (const QString& w : words) {
        if (w == QLatin1String("12h"))
            v.use12Hour = true;
        else if (w.startsWith(QLatin1String("hide")))
            v.hidePeriod = w.mid(4).toInt();
        else if (w == QLatin1String("tray"))
            v.taskIcon = true;
        else if (w.startsWith(QLatin1String("chime")))
            v.chimeMode = w.mid(5).toInt();
        else if (w == QLatin1String("nofile"))
            v.chimeFile.clear();
        else if (w == QLatin1String("drive2"))
            v.drive = 2;
        else if (w == QLatin1String("normal"))
            v.idlePriority = false;
        else if (w == QLatin1String("longfile"))
            v.alarmFile = '/' + QString(999, 'a');
        else if (w == QLatin1String("notice"))
            v.notificationOnly = true;
        else if (w == QLatin1String("wild")) {
            v.hidePeriod = 60;
            v.updateInterval = -3;
        }
    }
    RecordingEffects fx;
    OptionsRules::apply(v, s, store, fx);
    QCOMPARE(fx.log, effects);
    for (const QString& pair : stored) {
        const QString name = pair.section('=', 0, 0);
        const QString value = pair.section('=', 1);
        const auto got = reg.get("Settings", name);
        QVERIFY2(got.has_value(), qPrintable(name));
        const QString text = got->type == RegValue::Type::Dword
                                 ? QString::number(qint32(got->dword))
                                 : QString::fromUtf8(got->text);
        QCOMPARE(text, value);
    }
    // The running values follow what was stored.
    QCOMPARE(s.HideInterval, storedInt(reg, "Hide Interval"));
    QCOMPARE(s.ChimeMode, storedInt(reg, "Chime"));
    QCOMPARE(s.MonitorDrive, storedText(reg, "Drive"));
}

void TstOptionsRules::labels_data()
{
    QTest::addColumn<QString>("got");
    QTest::addColumn<QString>("expected");
    QTest::newRow("hide -1") << OptionsRules::hideLabel(-1) << "Indefinite";
    QTest::newRow("hide 0") << OptionsRules::hideLabel(0) << "Off";
    QTest::newRow("hide 1") << OptionsRules::hideLabel(1) << "1 secs";
    QTest::newRow("hide 15") << OptionsRules::hideLabel(15) << "15 secs";
    QTest::newRow("interval 30") << OptionsRules::updateIntervalLabel(30) << "30 secs";
    QTest::newRow("path") << OptionsRules::fileNamePart("/usr/share/sounds/bell.wav") << "bell.wav";
    QTest::newRow("bare name") << OptionsRules::fileNamePart("bell.wav") << "bell.wav";
    QTest::newRow("empty") << OptionsRules::fileNamePart("") << "";
    QTest::newRow("help task bar") << OptionsRules::helpTopic("Task Bar") << "settings_Task";
    QTest::newRow("help time") << OptionsRules::helpTopic("Time") << "settings_Time";
}

void TstOptionsRules::labels()
{
    QFETCH(QString, got);
    QFETCH(QString, expected);
    QCOMPARE(got, expected);
}

QTEST_GUILESS_MAIN(TstOptionsRules)
#include "tst_optionsrules.moc"
