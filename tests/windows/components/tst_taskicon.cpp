#include "doubles/FakeTrayShell.h"
#include "windows/components/TTaskIcon.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using Op = FakeTrayShell::Op;

class TestTaskIcon : public QObject {
    Q_OBJECT
private slots:
    void activatingAddsOnceWithCurrentValues();
    void refusedAddOrRemoveKeepsState();
    void longTipIsCutForPropertyAndRecord();
    void unchangedTipSendsNothing();
    void changesWhileActiveModifyWithFreshRecord();
    void removeUsesTheIdentifierItWasAddedWith();
    void callbacks_data();
    void callbacks();
    void destructionRemovesActiveIcon();
};

void TestTaskIcon::activatingAddsOnceWithCurrentValues()
{
    FakeTrayShell shell;
    TTaskIcon icon(shell);
    QVERIFY(!icon.Active());
    icon.setTaskIconID(7);
    icon.setToolTip("12:00 Monday");
    icon.setActive(true);
    icon.setActive(true);
    QVERIFY(icon.Active());
    QCOMPARE(shell.calls.size(), 1);
    QCOMPARE(shell.calls[0].op, Op::Add);
    QCOMPARE(shell.calls[0].record.id, 7);
    QCOMPARE(shell.calls[0].record.tip, "12:00 Monday");
}

void TestTaskIcon::refusedAddOrRemoveKeepsState()
{
    FakeTrayShell shell;
    shell.acceptAdd = false;
    TTaskIcon icon(shell);
    icon.setActive(true);
    QVERIFY(!icon.Active());
    // Not active, so a tip change must not reach the shell either.
    icon.setToolTip("x");
    QCOMPARE(shell.calls.size(), 1);

    shell.acceptAdd = true;
    icon.setActive(true);
    shell.acceptRemove = false;
    icon.setActive(false);
    QVERIFY(icon.Active());
}

void TestTaskIcon::longTipIsCutForPropertyAndRecord()
{
    FakeTrayShell shell;
    TTaskIcon icon(shell);
    icon.setActive(true);
    const QString tip = QString("0123456789").repeated(7); // 70 characters
    icon.setToolTip(tip);
    QCOMPARE(icon.ToolTip(), tip.left(64));
    QCOMPARE(shell.calls.last().op, Op::Modify);
    QCOMPARE(shell.calls.last().record.tip, tip.left(63));
}

void TestTaskIcon::unchangedTipSendsNothing()
{
    FakeTrayShell shell;
    TTaskIcon icon(shell);
    icon.setActive(true);
    const QString tip = QString(80, 'a');
    icon.setToolTip(tip);
    const auto before = shell.calls.size();
    icon.setToolTip(tip);          // cuts to the same 64 characters
    icon.setToolTip(tip.left(64)); // the stored text itself
    QCOMPARE(shell.calls.size(), before);
}

void TestTaskIcon::changesWhileActiveModifyWithFreshRecord()
{
    FakeTrayShell shell;
    TTaskIcon icon(shell);
    icon.setToolTip("first");
    icon.setActive(true);
    shell.acceptModify = false; // a refused change still keeps the new value
    icon.setToolTip("second");
    QCOMPARE(icon.ToolTip(), "second");
    QCOMPARE(shell.calls.last().op, Op::Modify);
    QCOMPARE(shell.calls.last().record.tip, "second");
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::cyan);
    icon.setIcon(QIcon(pixmap));
    QCOMPARE(shell.count(Op::Modify), 2);
    QVERIFY(!shell.calls.last().record.icon.isNull());
    QVERIFY(icon.Active());
}

void TestTaskIcon::removeUsesTheIdentifierItWasAddedWith()
{
    FakeTrayShell shell;
    TTaskIcon icon(shell);
    icon.setTaskIconID(1);
    icon.setToolTip("added");
    icon.setActive(true);
    icon.setTaskIconID(2);
    QCOMPARE(shell.calls.last().op, Op::Modify);
    QCOMPARE(shell.calls.last().record.id, 2);
    icon.setToolTip("changed");
    icon.setActive(false);
    QCOMPARE(shell.calls.last().op, Op::Remove);
    QCOMPARE(shell.calls.last().record.id, 1);
    QCOMPARE(shell.calls.last().record.tip, "added");
}

void TestTaskIcon::callbacks_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("message");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("doubleClicks");
    QTest::addColumn<int>("rightClicks");
    using M = ITrayShell::Mouse;
    QTest::newRow("left up") << 5 << int(M::LeftUp) << 1 << 0 << 0;
    QTest::newRow("double click") << 5 << int(M::LeftDoubleClick) << 0 << 1 << 0;
    QTest::newRow("right up") << 5 << int(M::RightUp) << 0 << 0 << 1;
    QTest::newRow("other") << 5 << int(M::Other) << 0 << 0 << 0;
    QTest::newRow("other id, left up") << 6 << int(M::LeftUp) << 0 << 0 << 0;
    QTest::newRow("other id, right up") << 0 << int(M::RightUp) << 0 << 0 << 0;
}

void TestTaskIcon::callbacks()
{
    QFETCH(int, id);
    QFETCH(int, message);
    QFETCH(int, clicks);
    QFETCH(int, doubleClicks);
    QFETCH(int, rightClicks);
    FakeTrayShell shell;
    TTaskIcon icon(shell);
    icon.setTaskIconID(5);
    QSignalSpy click(&icon, &TTaskIcon::OnClick);
    QSignalSpy dbl(&icon, &TTaskIcon::OnDblClick);
    QSignalSpy right(&icon, &TTaskIcon::OnRightClick);
    shell.send(id, static_cast<ITrayShell::Mouse>(message), QPoint(300, 40));
    QCOMPARE(click.size(), clicks);
    QCOMPARE(dbl.size(), doubleClicks);
    QCOMPARE(right.size(), rightClicks);
    if (rightClicks) {
        QCOMPARE(right[0][0].value<TTaskIcon*>(), &icon);
        QCOMPARE(right[0][1].toPoint(), QPoint(300, 40));
    }
    if (clicks)
        QCOMPARE(click[0][0].value<TTaskIcon*>(), &icon);
}

void TestTaskIcon::destructionRemovesActiveIcon()
{
    FakeTrayShell shell;
    auto icon = std::make_unique<TTaskIcon>(shell);
    icon->setTaskIconID(4);
    icon->setActive(true);
    icon.reset();
    QCOMPARE(shell.calls.last().op, Op::Remove);
    QCOMPARE(shell.calls.last().record.id, 4);
    // Nothing is left behind that a late notification could reach.
    QVERIFY(!shell.callback);
}

QTEST_MAIN(TestTaskIcon)
#include "tst_taskicon.moc"
