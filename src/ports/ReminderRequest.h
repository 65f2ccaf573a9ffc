#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// A request made to the running clock from outside its windows: from a later start's command
// line through the one-copy channel, or from the session bus. Both carry the same requests,
// and the running copy answers both alike.
struct ReminderRequest {
    enum class Verb { Show, Remind, List, Cancel, Snooze };
    Verb verb = Verb::Show;
    // Remind: the time and the text as the caller wrote them; the rules check both. Snooze:
    // the duration in `time`.
    QString time;
    QString text;
    // Cancel, Snooze: the item as the caller wrote it (its ID from the list).
    QString item;
};

struct ReminderReply {
    // As the command line's exit status: 0 done, 1 not done, 2 bad input, 3 not known whether
    // done.
    int status = 0;
    // What the caller is told on success: the list's lines, or the item added or cancelled.
    QStringList lines;
    // One line saying why, when status is not 0.
    QString error;
};

using ReminderRequestHandler = std::function<ReminderReply(const ReminderRequest&)>;
