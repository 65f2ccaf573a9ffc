#include "platform/linux/QtTrayShell.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QIcon cyanIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::cyan);
    return QIcon(pixmap);
}

struct Notification {
    int id;
    ITrayShell::Mouse message;
};

} // namespace

class TestTrayShell : public QObject {
    Q_OBJECT
private slots:
    void noTrayRefusesAdd();
    void addModifyRemove();
    void activationReasons_data();
    void activationReasons();
    void removingFromInsideTheCallback();
};

void TestTrayShell::noTrayRefusesAdd()
{
    QtTrayShell shell([] { return false; });
    QVERIFY(!shell.add({1, cyanIcon(), "tip"}));
    QVERIFY(!shell.iconFor(1));
    QVERIFY(!shell.modify({1, cyanIcon(), "tip"}));
    QVERIFY(!shell.remove({1, cyanIcon(), "tip"}));
}

void TestTrayShell::addModifyRemove()
{
    QtTrayShell shell([] { return true; });
    QVERIFY(shell.add({1, cyanIcon(), "first"}));
    QVERIFY(!shell.add({1, cyanIcon(), "again"})); // one icon per identifier
    QVERIFY(shell.add({2, QIcon(), "second"}));
    QCOMPARE(shell.iconFor(1)->toolTip(), "first");
    QVERIFY(shell.modify({1, cyanIcon(), "changed"}));
    QCOMPARE(shell.iconFor(1)->toolTip(), "changed");
    QVERIFY(!shell.modify({3, QIcon(), "unknown"}));
    QVERIFY(shell.remove({1, QIcon(), ""}));
    QVERIFY(!shell.iconFor(1));
    QVERIFY(!shell.remove({1, QIcon(), ""}));
    QVERIFY(shell.iconFor(2));
}

void TestTrayShell::activationReasons_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<int>("message");
    using M = ITrayShell::Mouse;
    QTest::newRow("trigger") << int(QSystemTrayIcon::Trigger) << int(M::LeftUp);
    QTest::newRow("double") << int(QSystemTrayIcon::DoubleClick) << int(M::LeftDoubleClick);
    QTest::newRow("context") << int(QSystemTrayIcon::Context) << int(M::RightUp);
    QTest::newRow("middle") << int(QSystemTrayIcon::MiddleClick) << int(M::Other);
    QTest::newRow("unknown") << int(QSystemTrayIcon::Unknown) << int(M::Other);
}

void TestTrayShell::activationReasons()
{
    QFETCH(int, reason);
    QFETCH(int, message);
    QtTrayShell shell([] { return true; });
    QList<Notification> got;
    shell.setCallback([&](int id, ITrayShell::Mouse m, QPoint) { got.append({id, m}); });
    QVERIFY(shell.add({7, cyanIcon(), "tip"}));
    emit shell.iconFor(7)->activated(static_cast<QSystemTrayIcon::ActivationReason>(reason));
    QCOMPARE(got.size(), 1);
    QCOMPARE(got[0].id, 7);
    QCOMPARE(int(got[0].message), message);
}

void TestTrayShell::removingFromInsideTheCallback()
{
    QtTrayShell shell([] { return true; });
    int calls = 0;
    shell.setCallback([&](int id, ITrayShell::Mouse, QPoint) {
        ++calls;
        shell.setCallback({});
        QVERIFY(shell.remove({id, QIcon(), ""}));
    });
    QVERIFY(shell.add({3, cyanIcon(), "tip"}));
    QPointer<QSystemTrayIcon> icon = shell.iconFor(3);
    emit icon->activated(QSystemTrayIcon::Trigger);
    QCOMPARE(calls, 1);
    QVERIFY(!shell.iconFor(3));
    QTRY_VERIFY(icon.isNull());
}

QTEST_MAIN(TestTrayShell)
#include "tst_trayshell.moc"
