#include "app/PanelController.h"

#include "ports/IClock.h"
#include "rules/sched/ReminderRules.h"
#include "windows/sched/TSchedMain.h"

ReminderReply PanelController::handleReminderRequest(const ReminderRequest& request)
{
    return handleReminderRequests({request}).constFirst();
}

QList<ReminderReply> PanelController::handleReminderRequests(const QList<ReminderRequest>& requests)
{
    QList<ReminderReply> replies;
    if (m_shutDown) {
        // Its last save is under way or done; asked again, the caller finds no clock and
        // changes the file itself.
        for (qsizetype i = 0; i < requests.size(); ++i)
            replies.append(
                {1, {}, QStringLiteral("horolux: the running clock is closing; try again")});
        return replies;
    }
    ScheduleList& list = m_state.sched.ScheduleList;
    qint32& cursor = m_state.sched.ScheduleCursor;
    const QDateTime now = m_platform.clock->now();
    struct Change {
        qsizetype reply;
        ReminderRules::Applied applied;
        bool movedCursor;
    };
    QList<Change> changes;
    for (const ReminderRequest& request : requests) {
        if (request.verb == ReminderRequest::Verb::Show) {
            m_panel.showAndRaise();
            replies.append(ReminderReply{});
            continue;
        }
        const ReminderRules::Applied applied = ReminderRules::apply(list, request, now);
        // An item taken out before the scan's place moves the place with the items after it,
        // so the scan skips none of them. An added one is left as the quick reminder leaves it.
        const bool movedCursor = applied.removedAt >= 0 && applied.removedAt < cursor;
        if (movedCursor)
            --cursor;
        replies.append(applied.reply);
        if (!applied.added.isEmpty() || !applied.removed.isEmpty())
            changes.append({replies.size() - 1, applied, movedCursor});
    }
    if (changes.isEmpty())
        return replies;

    // One save for the whole batch. A failure is the caller's to report, not a box on the
    // desktop; and what could not be kept is not done, so the list goes back as it was.
    QString error;
    if (m_scheduleFile.save(list, &error) != ScheduleFile::SaveResult::Saved) {
        for (auto change = changes.crbegin(); change != changes.crend(); ++change) {
            ReminderRules::undo(list, change->applied);
            if (change->movedCursor)
                ++cursor;
            replies[change->reply] = {
                1, {}, QStringLiteral("horolux: cannot save the schedule (%1)").arg(error)};
        }
    }
    // The scheduler list shows the running list: show it afresh.
    if (TSchedMain* open = m_panel.findChild<TSchedMain*>())
        open->refreshGrid();
    return replies;
}
