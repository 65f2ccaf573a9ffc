#include "doubles/FakeNotifier.h"
#include "rules/sched/ReminderNotices.h"

#include <QTest>

class TestReminderNotices : public QObject {
    Q_OBJECT
private slots:
    // "fire A": reminder A fires ("only A": as a notification only); "answer N": the server
    // answers the oldest notice with id N (0: none shown); "dismiss N", "expire N": the user
    // dismissed notice N, the desktop closed it; "snooze N", "open N": the user picked Snooze
    // or the notice itself; "close F": the user closed pop-up F.
    void script()
    {
        const QString steps =
            "fire A, close 1, answer 7, " // closed before the answer
            "fire A, answer 7, fire A, answer 7, close 2, dismiss 7, close 3, " // replaced
            "fire A, answer 7, expire 7, close 4, "           // an expired notice is not withdrawn
            "only A, answer 0, only A, answer 7, dismiss 7, " // a pop-up only when none is shown
            "fire B, answer 8, open 8, snooze 8, close 7, "   // snoozed: both go, once
            "only B, answer 8, open 8, close 8";              // opened from the notice, then closed

        FakeNotifier notifier;
        QStringList seen;
        ReminderNotices notices(
            &notifier, [&](quint64 f) { seen << QString("close popup %1").arg(f); },
            [&](quint64 f) { seen << QString("open popup %1").arg(f); },
            [&](quint64 f) { seen << QString("snooze %1").arg(f); });
        for (const QString& step : steps.split(", ")) {
            const QString verb = step.section(' ', 0, 0), arg = step.section(' ', 1);
            const qsizetype before = notifier.calls.size();
            if (verb == "fire" || verb == "only")
                notices.fire(arg, arg, verb == "only",
                             [&](quint64 f) { seen << QString("popup %1").arg(f); });
            else if (verb == "answer")
                notifier.answer(arg.toUInt());
            else if (verb == "close")
                notices.popupClosed(arg.toULongLong());
            else
                notifier.events(arg.toUInt(), verb == "dismiss"  ? INotifier::Event::Dismissed
                                              : verb == "snooze" ? INotifier::Event::Snoozed
                                              : verb == "open"   ? INotifier::Event::Opened
                                                                 : INotifier::Event::Closed);
            seen += notifier.calls.mid(before);
        }
        QCOMPARE(seen, (QStringList{"popup 1",    "notify 0 A", "close 7",       "popup 2",
                                    "notify 7 A", "popup 3",    "notify 7 A",    "close popup 3",
                                    "close 7",    "popup 4",    "notify 7 A",    "notify 7 A",
                                    "popup 5",    "notify 7 A", "close popup 6", "close 7",
                                    "popup 7",    "notify 0 B", "open popup 7",  "snooze 7",
                                    "close 8",    "notify 8 B", "open popup 8",  "close 8"}));
    }
    void answerAfterTheEndGoesNowhere() // as the program ends
    {
        FakeNotifier notifier;
        ReminderNotices(&notifier, {}).fire("A", "A", true, [](quint64) { QFAIL("a pop-up"); });
        notifier.answer(0);
    }
};

QTEST_GUILESS_MAIN(TestReminderNotices)
#include "tst_remindernotices.moc"
