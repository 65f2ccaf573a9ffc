#pragma once

#include "ports/ReminderRequest.h"

#include <QString>

class IFileStore;
class ISingleInstance;

// The reminder verbs of the command line (--remind, --list, --cancel), run without a display:
// the request goes to the running clock on whatever display it runs; with none running, this
// process holds the one-copy lock, so no clock can start meanwhile, and changes the schedule
// file itself through the rules the clock reads it with. The settings are never touched.
namespace ReminderCommand {

// Prints the reply's lines on standard output, or why not on standard error; returns the
// exit status (0 done, 1 not done, 2 bad input, 3 not known whether done).
int run(const ReminderRequest& request, ISingleInstance& instance, IFileStore& files,
        const QString& schedulePath);

// The request carried out on the schedule file, for when no clock runs.
ReminderReply applyToFile(const ReminderRequest& request, IFileStore& files,
                          const QString& schedulePath);

} // namespace ReminderCommand
