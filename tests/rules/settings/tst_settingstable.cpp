#include "doubles/FakeRegistry.h"
#include "rules/settings/SettingsStore.h"
#include "rules/settings/SettingsTable.h"

#include <QSet>
#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(Settings::IntSetting)
Q_DECLARE_METATYPE(Settings::FlagSetting)
Q_DECLARE_METATYPE(std::optional<RegValue>)

namespace {
std::optional<RegValue> dword(qint64 v)
{
    return RegValue::fromDword(quint32(v));
}
std::optional<RegValue> text(const char* t)
{
    return RegValue::fromText(t);
}
const std::optional<RegValue> missing;
} // namespace

class TestSettingsTable : public QObject {
    Q_OBJECT
private slots:
    void storedNamesNeverChange();
    void readInt_data();
    void readInt();
    void readFlag_data();
    void readFlag();
    void writesKeepTheStoredTypes();
};

// Users' files hold these names; a renamed or moved value would silently lose their settings.
void TestSettingsTable::storedNamesNeverChange()
{
    const QStringList expected{"Settings|StayOnTop|flag",
                               "Settings|Hide Interval|int",
                               "Settings|TaskIcon|flag",
                               "Settings|12Hr Format|flag",
                               "Settings|PFMax|int",
                               "Settings|UpdateInterval|int",
                               "Settings|PriorityClass|int",
                               "Settings|Drive|text",
                               "Settings|Chime|int",
                               "Settings|ChimeSound|text",
                               "Settings|Alarm|int",
                               "Settings|AlarmSound|text",
                               "Settings|AutoUpdate|flag",
                               "Settings|InternetWin|text",
                               "Settings|HostName|text",
                               "Window|State|int",
                               "Window|Top|int",
                               "Window|Left|int",
                               "Window|Width|int",
                               "Window|Height|int",
                               "Settings|NotificationOnly|flag",
                               "Settings|SnoozeChoice|int"};
    QStringList actual;
    QSet<QString> folded;
    for (const Settings::Row& r : Settings::All) {
        const char* type = r.type == Settings::Row::Type::Integer ? "int"
                           : r.type == Settings::Row::Type::Flag  ? "flag"
                                                                  : "text";
        actual << QString(r.section) + '|' + QString(r.name) + '|' + QLatin1String(type);
        // The file's names are matched without regard to case.
        folded.insert((QString(r.section) + '|' + QString(r.name)).toLower());
    }
    QCOMPARE(actual, expected);
    QCOMPARE(folded.size(), actual.size());
}

void TestSettingsTable::readInt_data()
{
    using namespace Settings;
    QTest::addColumn<IntSetting>("setting");
    QTest::addColumn<std::optional<RegValue>>("stored");
    QTest::addColumn<int>("read");
    QTest::newRow("PFMax missing") << PFMax << missing << 100;
    QTest::newRow("PFMax 99") << PFMax << dword(99) << 100;
    QTest::newRow("PFMax 100") << PFMax << dword(100) << 100;
    QTest::newRow("PFMax 350") << PFMax << dword(350) << 350;
    QTest::newRow("PFMax 10000") << PFMax << dword(10000) << 10000;
    QTest::newRow("PFMax 10001") << PFMax << dword(10001) << 100;
    QTest::newRow("PFMax -5") << PFMax << dword(-5) << 100;
    QTest::newRow("PFMax as text") << PFMax << text("500") << 100;
    // The dialog's ranges do not limit what start-up takes.
    QTest::newRow("Hide Interval missing") << HideInterval << missing << 4;
    QTest::newRow("Hide Interval -1") << HideInterval << dword(0xFFFFFFFF) << -1;
    QTest::newRow("Hide Interval 60") << HideInterval << dword(60) << 60;
    QTest::newRow("UpdateInterval missing") << UpdateInterval << missing << 1;
    QTest::newRow("UpdateInterval 0") << UpdateInterval << dword(0) << 0;
    QTest::newRow("UpdateInterval -7") << UpdateInterval << dword(-7) << -7;
    QTest::newRow("PriorityClass missing") << PriorityClass << missing << 64;
    QTest::newRow("PriorityClass 32") << PriorityClass << dword(32) << 32;
    QTest::newRow("PriorityClass 7") << PriorityClass << dword(7) << 7;
    QTest::newRow("Chime 3") << Chime << dword(3) << 3;
    QTest::newRow("Top missing") << WindowTop << missing << 9999;
    QTest::newRow("Top most negative") << WindowTop << dword(0x80000000u) << INT_MIN;
}

void TestSettingsTable::readInt()
{
    QFETCH(Settings::IntSetting, setting);
    QFETCH(std::optional<RegValue>, stored);
    FakeRegistry reg;
    if (stored)
        reg.put(setting.section, setting.name, *stored);
    QTEST(Settings::readInt(SettingsStore(reg), setting), "read");
}

void TestSettingsTable::readFlag_data()
{
    using namespace Settings;
    QTest::addColumn<FlagSetting>("setting");
    QTest::addColumn<std::optional<RegValue>>("stored");
    QTest::addColumn<bool>("on");
    for (const FlagSetting& f : {StayOnTop, TaskIcon, TwelveHour, AutoUpdate}) {
        const QByteArray n = QString(f.name).toLatin1();
        QTest::addRow("%s missing", n.data()) << f << missing << false;
        QTest::addRow("%s 1", n.data()) << f << dword(1) << true;
        QTest::addRow("%s 0", n.data()) << f << dword(0) << false;
        // Only exactly 1 is on.
        QTest::addRow("%s 2", n.data()) << f << dword(2) << false;
        QTest::addRow("%s -1", n.data()) << f << dword(-1) << false;
        QTest::addRow("%s 257", n.data()) << f << dword(257) << false;
        QTest::addRow("%s text 1", n.data()) << f << text("1") << false;
    }
}

void TestSettingsTable::readFlag()
{
    QFETCH(Settings::FlagSetting, setting);
    QFETCH(std::optional<RegValue>, stored);
    FakeRegistry reg;
    if (stored)
        reg.put(setting.section, setting.name, *stored);
    QTEST(Settings::readFlag(SettingsStore(reg), setting), "on");
}

// Another type on disk would read back as the default at the next start.
void TestSettingsTable::writesKeepTheStoredTypes()
{
    FakeRegistry reg;
    const SettingsStore store(reg);
    Settings::write(store, Settings::StayOnTop, true);
    Settings::write(store, Settings::AutoUpdate, false);
    Settings::write(store, Settings::PFMax, 20000); // stored as given; the next start judges it
    Settings::write(store, Settings::HostName, "time.example.org");

    const auto onTop = reg.get("Settings", "StayOnTop");
    QVERIFY(onTop && onTop->type == RegValue::Type::Dword);
    QCOMPARE(onTop->dword, 1u);
    const auto autoUpdate = reg.get("Settings", "AutoUpdate");
    QVERIFY(autoUpdate && autoUpdate->type == RegValue::Type::Dword);
    QCOMPARE(autoUpdate->dword, 0u);
    const auto pfMax = reg.get("Settings", "PFMax");
    QVERIFY(pfMax && pfMax->type == RegValue::Type::Dword);
    QCOMPARE(pfMax->dword, 20000u);
    const auto host = reg.get("Settings", "HostName");
    QVERIFY(host && host->type == RegValue::Type::Sz);
    QCOMPARE(host->text, QByteArray("time.example.org"));
    QCOMPARE(reg.writes, 4);
}

QTEST_APPLESS_MAIN(TestSettingsTable)
#include "tst_settingstable.moc"
