#include "E2eRig.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
const QByteArray SettingsKey = "[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings]\n";
const QByteArray WindowKey = "[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Window]\n";
} // namespace

class TestE2eWindow : public QObject {
    Q_OBJECT
private slots:
    void firstRunShowsDesignedPanelAndSavesOnSigterm();
    void secondRunRestoresWhatWasSaved();
    void handWrittenFileKeptBySave_data();
    void handWrittenFileKeptBySave();
    void menuInTheUsersLanguage();
};

void TestE2eWindow::firstRunShowsDesignedPanelAndSavesOnSigterm()
{
    E2eRig rig;
    QVERIFY(rig.startX());
    QVERIFY(rig.startClock());
    const QString w = rig.waitForWindow();
    QVERIFY2(!w.isEmpty(), qPrintable(rig.clockOutput()));
    QCOMPARE(rig.geometry(w), QRect(10, 160, 187, 53));
    // No task-bar button: the window manager is asked to skip it.
    QVERIFY2(rig.property(w, "_NET_WM_STATE").contains("_NET_WM_STATE_SKIP_TASKBAR"),
             qPrintable(rig.property(w, "_NET_WM_STATE")));

    QCOMPARE(rig.terminate(), 0);
    const QByteArray saved = rig.readFile(rig.settingsPath());
    QVERIFY2(saved.contains(SettingsKey), saved.constData());
    QVERIFY(saved.contains("\"PFMax\"=dword:00000064"));
    QVERIFY(saved.contains("\"StayOnTop\"=dword:00000000"));
    QVERIFY(saved.contains("\"AutoUpdate\"=dword:00000000"));
    QVERIFY(saved.contains(WindowKey + "\"State\"=dword:00000000\n\"Top\"=dword:000000a0\n"
                                       "\"Left\"=dword:0000000a"));
    QVERIFY(QFile::exists(rig.schedulePath())); // the (empty) schedule was saved too
}

void TestE2eWindow::secondRunRestoresWhatWasSaved()
{
    E2eRig rig;
    QVERIFY(rig.startX());
    rig.writeSettings(SettingsKey +
                      "\"StayOnTop\"=dword:00000001\n\"PFMax\"=dword:00004e20\n"
                      "\"AutoUpdate\"=dword:00000001\n\n" +
                      WindowKey + "\"Top\"=dword:000000c8\n\"Left\"=dword:0000012c\n");
    QVERIFY(rig.startClock());
    const QString w = rig.waitForWindow();
    QVERIFY(!w.isEmpty());
    QCOMPARE(rig.geometry(w).topLeft(), QPoint(300, 200));
    QVERIFY(rig.property(w, "_NET_WM_STATE").contains("_NET_WM_STATE_ABOVE"));
    QCOMPARE(rig.terminate(), 0);
    const QByteArray saved = rig.readFile(rig.settingsPath());
    QVERIFY(saved.contains("\"PFMax\"=dword:00000064")); // 20000 was out of range
    QVERIFY(saved.contains("\"StayOnTop\"=dword:00000001"));
    QVERIFY(saved.contains("\"AutoUpdate\"=dword:00000001"));
    QVERIFY(saved.contains("\"Top\"=dword:000000c8"));
}

// A file written by hand, with lines ending in CR alone: read, and kept by the save at exit.
// A file that is not a settings file at all: not read, and left as it is.
void TestE2eWindow::handWrittenFileKeptBySave_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("understood");
    const QByteArray lines =
        "; mine\r" + SettingsKey.chopped(1) + "\r\"StayOnTop\"=dword:00000001\r" +
        "\"Chime\"=dword:00000001\r\"Drive\"=\"/\xff\"\r\r" + WindowKey.chopped(1) +
        "\r\"Top\"=dword:000000c8\r\"Left\"=dword:0000012c\r";
    QTest::newRow("CR only") << "REGEDIT4\r\r" + lines << true;
    QTest::newRow("no header") << lines << false;
}

void TestE2eWindow::handWrittenFileKeptBySave()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, understood);
    E2eRig rig;
    QVERIFY(rig.startX());
    QVERIFY(QDir().mkpath(rig.home() + "/config/horolux"));
    QFile f(rig.settingsPath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    QVERIFY(rig.startClock());
    const QString w = rig.waitForWindow();
    QVERIFY(!w.isEmpty());
    QCOMPARE(rig.geometry(w).topLeft(), understood ? QPoint(300, 200) : QPoint(10, 160));
    QCOMPARE(rig.terminate(), 0);
    const QByteArray saved = rig.readFile(rig.settingsPath());
    if (!understood) {
        QCOMPARE(saved, content);
        return;
    }
    for (const QByteArray& line : content.split('\r'))
        QVERIFY2(saved.contains(line), line.constData());
    QVERIFY2(saved.contains("\"PFMax\"=dword:00000064\r"), saved.constData());
    QVERIFY(!saved.contains('\n'));
}

// LANG alone says German (LC_ALL and LANGUAGE unset): the panel's menu offers "&Zeitplaner",
// whose key opens the scheduler, titled in German.
void TestE2eWindow::menuInTheUsersLanguage()
{
    E2eRig rig;
    QVERIFY(rig.startX());
    rig.setEnv("LANG", "de_DE.UTF-8");
    rig.setEnv("LC_ALL", QString());
    rig.setEnv("LANGUAGE", QString());
    QVERIFY(rig.startClock());
    const QRect panel = rig.geometry(rig.waitForWindow());
    rig.x("xdotool",
          {"mousemove", QString::number(panel.center().x()), QString::number(panel.center().y()),
           "click", "3", "sleep", "0.5", "key", "z"});
    QVERIFY2(E2eRig::pollUntil([&] { return !rig.visibleWindows("Zeitplaner").isEmpty(); }, 10000),
             qPrintable(rig.clockOutput()));
}

QTEST_MAIN(TestE2eWindow)
#include "tst_e2e_window.moc"
