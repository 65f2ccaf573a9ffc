#include "app/PanelController.h"

#include "ports/IClock.h"

ReminderReply PanelController::handleReminderRequest(const ReminderRequest& request)
{
    return handleReminderRequests({request}).constFirst();
}

QList<ReminderReply> PanelController::handleReminderRequests(const QList<ReminderRequest>& requests)
{
    if (m_shutDown) {
        // Its last save is under way or done; asked again, the caller finds no clock and
        // changes the file itself.
        return QList<ReminderReply>(
            requests.size(),
            {1, {}, QStringLiteral("horolux: the running clock is closing; try again")});
    }
    for (const ReminderRequest& request : requests)
        if (request.verb == ReminderRequest::Verb::Show)
            m_panel.showAndRaise();
    // A failure to save is the caller's to report, not a box on the desktop.
    return m_schedule.apply(requests, m_platform.clock->now());
}
