#include "app/ReminderCommand.h"

#include "core/LosslessText.h"
#include "ports/ISingleInstance.h"
#include "rules/sched/ReminderRules.h"
#include "rules/sched/Schedule.h"

#include <QDateTime>

#include <cstdio>

namespace ReminderCommand {

int run(const ReminderRequest& request, ISingleInstance& instance, IFileStore& files,
        const QString& schedulePath)
{
    // Bad input is refused before any lock is taken or file read.
    ReminderReply reply;
    reply.error = ReminderRules::requestProblem(request, QDateTime::currentDateTime());
    if (!reply.error.isEmpty()) {
        reply.status = 2;
    } else {
        switch (instance.deliver(request, reply).outcome) {
        case ISingleInstance::Outcome::Delivered:
            break;
        case ISingleInstance::Outcome::Claimed:
            reply = applyToFile(request, files, schedulePath);
            break;
        case ISingleInstance::Outcome::NoSafePlace:
            reply = {1,
                     {},
                     QStringLiteral("horolux: no private folder for the lock that keeps a second "
                                    "copy out; set HOME")};
            break;
        case ISingleInstance::Outcome::Unanswered:
            // It may be carried out yet, so asking again could do it twice.
            reply = {3,
                     {},
                     QStringLiteral("horolux: the running clock did not answer in time; not "
                                    "known whether it was done")};
            break;
        case ISingleInstance::Outcome::Busy:
            reply = {1,
                     {},
                     QStringLiteral("horolux: other horolux commands kept the schedule locked; "
                                    "nothing was done")};
            break;
        case ISingleInstance::Outcome::Unreachable:
        case ISingleInstance::Outcome::Shown:
        case ISingleInstance::Outcome::OtherDisplay:
            reply = {1,
                     {},
                     QStringLiteral("horolux: the running clock did not answer; nothing was done")};
            break;
        }
    }
    // The lines in the bytes the schedule file holds them in.
    QByteArray out;
    for (const QString& line : std::as_const(reply.lines))
        out += LosslessText::encode(line) + '\n';
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    std::fflush(stdout);
    if (reply.status != 0)
        std::fprintf(stderr, "%s\n",
                     LosslessText::encode(
                         reply.error.isEmpty() ? QStringLiteral("horolux: not done") : reply.error)
                         .constData());
    return reply.status;
}

ReminderReply applyToFile(const ReminderRequest& request, IFileStore& files,
                          const QString& schedulePath)
{
    // Only a running clock knows what has fired.
    if (request.verb == ReminderRequest::Verb::Snooze)
        return {1,
                {},
                QStringLiteral("horolux: no clock is running, so no item %1 fired in the last "
                               "%2 hours")
                    .arg(request.item.toLower())
                    .arg(ReminderRules::SnoozeWindowHours)};
    // No clock runs: the file's schedule is changed the way the clock changes its own.
    Schedule schedule(files, schedulePath);
    // A file that cannot be read is never replaced: the clock moves it aside at its start.
    if (schedule.load().unreadable)
        return {
            1, {}, QStringLiteral("horolux: cannot read the schedule file %1").arg(schedulePath)};
    return schedule.apply({request}, QDateTime::currentDateTime()).constFirst();
}

} // namespace ReminderCommand
