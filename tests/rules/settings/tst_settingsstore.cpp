#include "doubles/FakeClock.h"
#include "doubles/FakeRegistry.h"
#include "doubles/FakeScreen.h"
#include "rules/settings/DeferredRegistry.h"
#include "rules/settings/SettingsStore.h"
#include "rules/settings/SettingsTable.h"

#include <QTest>

namespace {

class FakeWindow : public PlaceableWindow {
public:
    int state = 0, t = 160, l = 10, wd = 187, ht = 53;
    int windowState() const override { return state; }
    void setWindowState(int s) override { state = s; }
    int top() const override { return t; }
    int left() const override { return l; }
    int width() const override { return wd; }
    int height() const override { return ht; }
    void setTop(int v) override { t = v; }
    void setLeft(int v) override { l = v; }
    void setWidth(int v) override { wd = v; }
    void setHeight(int v) override { ht = v; }
};

using namespace Settings;
const QString S = SettingsSection;
const QString W = WindowSection;

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void readsByType_data();
    void readsByType();
    void textReadIsCutAtACharacterBoundary();
    void writesCreateKeyAndKeepTypes();
    void refusedWriteIsSilent();
    void writesWaitForABusyStore_data();
    void writesWaitForABusyStore();
    void placement_data();
    void placement();
    void placementWithSize_data();
    void placementWithSize();
    void savingMinimisedWindowKeepsPosition();
};

void TestSettingsStore::readsByType_data()
{
    QTest::addColumn<int>("storedType"); // 0 none, 1 text, 2 dword
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<quint32>("dword");
    QTest::addColumn<int>("asInt");
    QTest::addColumn<QString>("asText");

    QTest::newRow("missing") << 0 << QByteArray() << 0u << 4 << "dflt";
    QTest::newRow("all ones reads -1") << 2 << QByteArray() << 0xFFFFFFFFu << -1 << "255";
    QTest::newRow("text is never parsed as a number") << 1 << QByteArray("5") << 0u << 4 << "5";
    // Only the low-order byte of an integer is read as text.
    QTest::newRow("300 as text is 44") << 2 << QByteArray() << 300u << 300 << "44";
    QTest::newRow("INT_MIN") << 2 << QByteArray() << 0x80000000u << int(0x80000000u) << "0";
    QTest::newRow("text up to its NUL") << 1 << QByteArray("ab\0cd", 5) << 0u << 4 << "ab";
}

void TestSettingsStore::readsByType()
{
    QFETCH(int, storedType);
    QFETCH(QByteArray, text);
    QFETCH(quint32, dword);
    QFETCH(int, asInt);
    QFETCH(QString, asText);
    FakeRegistry reg;
    if (storedType == 1)
        reg.put(S, "V", RegValue::fromText(text));
    else if (storedType == 2)
        reg.put(S, "V", RegValue::fromDword(dword));
    SettingsStore store(reg);
    QCOMPARE(store.ReadRegInt(S, "V", 4), asInt);
    QCOMPARE(store.ReadRegString(S, "V", "dflt"), asText);
}

void TestSettingsStore::textReadIsCutAtACharacterBoundary()
{
    FakeRegistry reg;
    // 4094 ASCII bytes then a two-byte character that would straddle the limit.
    QByteArray long_(4094, 'a');
    long_ += "\xc3\xa9tail";
    reg.put(S, ChimeSound.name, RegValue::fromText(long_));
    const QString read = SettingsStore(reg).ReadRegString(S, ChimeSound.name, {});
    QCOMPARE(read.size(), 4094);
    QVERIFY(read.toUtf8().size() <= SettingsStore::MaxTextBytes);
}

void TestSettingsStore::writesCreateKeyAndKeepTypes()
{
    FakeRegistry reg;
    SettingsStore store(reg);
    store.WriteRegString(S, Drive.name, "C:\\");
    store.WriteRegInt(S, HideInterval.name, -1);
    QCOMPARE(reg.get(S, Drive.name)->text, QByteArray("C:\\"));
    QCOMPARE(reg.get(S, HideInterval.name)->dword, 0xFFFFFFFFu);
    QCOMPARE(store.ReadRegInt(S, HideInterval.name, 4), -1);
}

void TestSettingsStore::refusedWriteIsSilent()
{
    FakeRegistry reg;
    reg.refuseWrites = true;
    SettingsStore store(reg);
    store.WriteRegInt(S, PFMax.name, 500);
    QCOMPARE(store.ReadRegInt(S, PFMax.name, 100), 100);
}

void TestSettingsStore::writesWaitForABusyStore_data()
{
    // The store's answer from now on (free, busy, full: out of descriptors, refuse), wV=N a
    // write, +MS the clock moves on and a tick retries, end the program's last attempt.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("lost");
    QTest::newRow("kept, then landed") << "busy wA=1 wB=2 wA=3 +9999 free +1"
                                       << "A=3 B=2" << false;
    QTest::newRow("given up") << "busy wA=1 +10000 free +1"
                              << "" << true;
    QTest::newRow("freed at the end") << "busy wA=1 free end"
                                      << "A=1" << false;
    QTest::newRow("busy to the end") << "busy wA=1 end"
                                     << "" << true;
    QTest::newRow("out of descriptors") << "full wA=1"
                                        << "" << true;
    QTest::newRow("refused stays silent") << "refuse wA=1"
                                          << "" << false;
}

void TestSettingsStore::writesWaitForABusyStore()
{
    QFETCH(QString, steps);
    FakeRegistry reg;
    FakeClock clock;
    DeferredRegistry deferred(reg, clock);
    const QStringList answers{"free", "busy", "refuse", "full"}; // in RegWrite's order
    for (const QString& step : steps.split(' ')) {
        if (answers.contains(step))
            reg.answer = RegWrite(answers.indexOf(step));
        else if (step[0] == 'w')
            deferred.setValue(S, step.mid(1, 1), RegValue::fromDword(step.mid(3).toUInt()));
        else if (step[0] == '+') {
            clock.ticks += step.mid(1).toUInt();
            deferred.retry();
        } else
            deferred.finish();
    }
    QStringList stored;
    for (const QString& name : QStringList{"A", "B"})
        if (const auto v = reg.queryValue(S, name))
            stored << name + '=' + QString::number(v->dword);
    QTEST(stored.join(' '), "stored");
    QTEST(deferred.takeLoss(), "lost");
    QVERIFY(clock.slept <= int(DeferredRegistry::FinalBudgetMs));
}

void TestSettingsStore::placement_data()
{
    QTest::addColumn<QVariant>("top");
    QTest::addColumn<QVariant>("left");
    QTest::addColumn<QVariant>("state");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("expTop");
    QTest::addColumn<int>("expLeft");
    QTest::addColumn<int>("expState");

    const QVariant none;
    QTest::newRow("nothing stored") << none << none << none << false << 160 << 10 << 0;
    QTest::newRow("top below screen")
        << QVariant(100) << QVariant(50) << none << true << 100 << 50 << 0;
    QTest::newRow("top beyond screen")
        << QVariant(2000) << QVariant(50) << none << false << 160 << 10 << 0;
    QTest::newRow("left beyond screen")
        << QVariant(100) << QVariant(5000) << none << true << 100 << 10 << 0;
    QTest::newRow("maximised keeps position")
        << QVariant(100) << QVariant(50) << QVariant(2) << true << 160 << 10 << 2;
    QTest::newRow("minimised is not restored")
        << QVariant(100) << QVariant(50) << QVariant(1) << true << 100 << 50 << 0;
    QTest::newRow("unknown state taken as normal")
        << QVariant(100) << QVariant(50) << QVariant(7) << true << 100 << 50 << 0;
    // Only the upper bounds are tested: absurd negative values are applied as stored.
    QTest::newRow("negative extremes") << QVariant(int(0x80000000u)) << QVariant(-5) << none << true
                                       << int(0x80000000u) << -5 << 0;
    QTest::newRow("left INT_MAX") << QVariant(20) << QVariant(2147483647) << none << true << 20
                                  << 10 << 0;
}

void TestSettingsStore::placement()
{
    QFETCH(QVariant, top);
    QFETCH(QVariant, left);
    QFETCH(QVariant, state);
    QFETCH(bool, result);
    FakeRegistry reg;
    if (top.isValid())
        reg.put(W, WindowTop.name, RegValue::fromDword(quint32(top.toInt())));
    if (left.isValid())
        reg.put(W, WindowLeft.name, RegValue::fromDword(quint32(left.toInt())));
    if (state.isValid())
        reg.put(W, WindowState.name, RegValue::fromDword(quint32(state.toInt())));
    FakeScreen screen;
    FakeWindow win;
    QCOMPARE(SettingsStore(reg).LoadWindowPlacement(W, win, false, screen), result);
    QTEST(win.t, "expTop");
    QTEST(win.l, "expLeft");
    QTEST(win.state, "expState");
}

void TestSettingsStore::placementWithSize_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("applied");
    QTest::newRow("100 is too small") << 100 << 187;
    QTest::newRow("101") << 101 << 101;
    QTest::newRow("640") << 640 << 640;
    QTest::newRow("negative") << -400 << 187;
}

// Width and height share one rule; a window placed with its size gets both or neither.
void TestSettingsStore::placementWithSize()
{
    QFETCH(int, stored);
    QFETCH(int, applied);
    FakeRegistry reg;
    reg.put(W, WindowTop.name, RegValue::fromDword(20));
    reg.put(W, WindowWidth.name, RegValue::fromDword(quint32(stored)));
    reg.put(W, WindowHeight.name, RegValue::fromDword(quint32(stored)));
    FakeScreen screen;
    FakeWindow win;
    win.ht = 187;
    QVERIFY(SettingsStore(reg).LoadWindowPlacement(W, win, true, screen));
    QCOMPARE(win.wd, applied);
    QCOMPARE(win.ht, applied);
    FakeWindow without;
    SettingsStore(reg).LoadWindowPlacement(W, without, false, screen);
    QCOMPARE(without.wd, 187);
}

void TestSettingsStore::savingMinimisedWindowKeepsPosition()
{
    FakeRegistry reg;
    SettingsStore store(reg);
    FakeWindow win;
    win.t = 300;
    win.l = 400;
    store.SaveWindowPlacement(W, win, false);
    win.state = 1;
    win.t = 1;
    win.l = 2;
    store.SaveWindowPlacement(W, win, false);
    QCOMPARE(store.ReadRegInt(W, WindowState.name, 0), 1);
    QCOMPARE(store.ReadRegInt(W, WindowTop.name, 0), 300);
    QCOMPARE(store.ReadRegInt(W, WindowLeft.name, 0), 400);
    QVERIFY(!reg.get(W, WindowWidth.name)); // the main window is stored without size
}

QTEST_APPLESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
