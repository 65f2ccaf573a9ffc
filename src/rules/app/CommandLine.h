#pragma once

#include "ports/ReminderRequest.h"

#include <QString>
#include <QStringList>

// The clock's own arguments: --help and --version, and the reminder verbs --remind TIME TEXT,
// --list, --cancel ID and --snooze ID DURATION, which stand alone on the command line. They are
// read the way GNU programs read theirs (long options may be shortened while they stay unique, "--"
// ends the options). Anything else is refused, Qt's own options (-platform, -display, ...)
// included: they are reached through Qt's environment variables instead. The one exception is what
// Qt's session management leaves with the desktop's session manager as the command that starts the
// clock again at the next login: "-session ID", followed by "-name NAME" when the program was
// started under another name. Qt takes both out of the arguments itself.
namespace CommandLine {

enum class Action { Run, Help, Version, Refuse, Remind, List, Cancel, Snooze };

struct Request {
    Action action = Action::Run;
    // For Refuse: the one line to print on standard error.
    QString error;
    // For the reminder verbs: the request as given, not yet checked.
    ReminderRequest reminder;
};

// Exit status of a refused command line.
inline constexpr int UsageStatus = 2;

// `arguments` excludes the program's name.
Request parse(const QStringList& arguments);

QString helpText();
QString versionText();

} // namespace CommandLine
