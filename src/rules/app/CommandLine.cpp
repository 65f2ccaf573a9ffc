#include "rules/app/CommandLine.h"

#include "core/Version.h"

namespace CommandLine {

namespace {

const QString Help = QStringLiteral("help");
const QString Version = QStringLiteral("version");
const QString Remind = QStringLiteral("remind");
const QString List = QStringLiteral("list");
const QString Cancel = QStringLiteral("cancel");
const QString Snooze = QStringLiteral("snooze");
const QString Session = QStringLiteral("-session");
const QString SessionName = QStringLiteral("-name");

Request refuse(const QString& what)
{
    return {Action::Refuse,
            QStringLiteral("horolux: %1; try 'horolux --help' for more information").arg(what),
            {}};
}

// The full name of a long option given as "--name" or "--name=value"; `name` may be any
// unique beginning. Empty when it names none.
QString longName(const QString& argument)
{
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
    if (name.isEmpty())
        return {};
    for (const QString& full : {Help, Version, Remind, List, Cancel, Snooze})
        if (full.startsWith(name))
            return full;
    return {};
}

// A reminder verb takes its values from the arguments after it, whatever they look like (a
// text may begin with a dash), and stands alone on the command line.
Request reminderVerb(const QStringList& arguments, qsizetype at, const QString& name)
{
    const QString& argument = arguments.at(at);
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    Request request;
    qsizetype last = at;
    if (name == Remind || name == Snooze) {
        const bool remind = name == Remind;
        if (equals >= 0)
            return refuse(QStringLiteral("option '--%1' doesn't allow an argument").arg(name));
        if (at + 2 >= arguments.size())
            return refuse(QStringLiteral("option '--%1' requires two arguments, %2")
                              .arg(name, remind ? QStringLiteral("TIME and TEXT")
                                                : QStringLiteral("ID and DURATION")));
        if (remind)
            request = {
                Action::Remind,
                {},
                {ReminderRequest::Verb::Remind, arguments.at(at + 1), arguments.at(at + 2), {}}};
        else
            request = {
                Action::Snooze,
                {},
                {ReminderRequest::Verb::Snooze, arguments.at(at + 2), {}, arguments.at(at + 1)}};
        last = at + 2;
    } else if (name == Cancel) {
        QString item;
        if (equals >= 0) {
            item = argument.mid(equals + 1);
        } else if (at + 1 < arguments.size()) {
            item = arguments.at(at + 1);
            last = at + 1;
        } else {
            return refuse(QStringLiteral("option '--cancel' requires an argument"));
        }
        request = {Action::Cancel, {}, {ReminderRequest::Verb::Cancel, {}, {}, item}};
    } else {
        if (equals >= 0)
            return refuse(QStringLiteral("option '--list' doesn't allow an argument"));
        request = {Action::List, {}, {ReminderRequest::Verb::List, {}, {}, {}}};
    }
    for (qsizetype i = 0; i < arguments.size(); ++i)
        if (i < at || i > last)
            return refuse(QStringLiteral("extra operand '%1'").arg(arguments.at(i)));
    return request;
}

// A long option given as "--name" or "--name=value".
Request longOption(const QStringList& arguments, qsizetype at)
{
    const QString& argument = arguments.at(at);
    const QString full = longName(argument);
    if (full.isEmpty())
        return refuse(QStringLiteral("unrecognized option '%1'").arg(argument));
    if (full == Remind || full == List || full == Cancel || full == Snooze)
        return reminderVerb(arguments, at, full);
    if (argument.contains(QLatin1Char('=')))
        return refuse(QStringLiteral("option '--%1' doesn't allow an argument").arg(full));
    return {full == Help ? Action::Help : Action::Version, {}, {}};
}

} // namespace

Request parse(const QStringList& arguments)
{
    // Options are read first, wherever they stand; the first one decides, as in a program
    // that exits at its first --help or bad option.
    QString firstOperand;
    bool optionsEnded = false;
    bool session = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool option =
            !optionsEnded && argument.size() > 1 && argument.startsWith(QLatin1Char('-'));
        if (option && argument == QStringLiteral("--")) {
            optionsEnded = true;
        } else if (option && argument.startsWith(QStringLiteral("--"))) {
            return longOption(arguments, i);
        } else if (option && (argument == Session || (argument == SessionName && session))) {
            // The next argument is the value whatever it looks like, as Qt reads it.
            if (++i == arguments.size())
                return refuse(QStringLiteral("option '%1' requires an argument").arg(argument));
            session = true;
        } else if (option) {
            return refuse(QStringLiteral("invalid option -- '%1'").arg(argument.at(1)));
        } else if (firstOperand.isNull()) {
            firstOperand = argument;
        }
    }
    if (!firstOperand.isNull())
        return refuse(QStringLiteral("extra operand '%1'").arg(firstOperand));
    return {};
}

QString helpText()
{
    return QStringLiteral(
        "Usage: horolux [OPTION]\n"
        "  or:  horolux --remind TIME TEXT | --list | --cancel ID\n"
        "  or:  horolux --snooze ID DURATION\n"
        "Show a small clock panel on the desktop, with an hourly chime, reminders and\n"
        "scheduled programs. Starting it again while it runs brings the running clock's\n"
        "panel to the front.\n"
        "\n"
        "      --remind TIME TEXT  add a reminder that shows TEXT once, at TIME\n"
        "      --list              list the schedule's items, the next first\n"
        "      --cancel ID         remove the item listed with ID\n"
        "      --snooze ID DURATION\n"
        "                          show the reminder with ID that fired in the last\n"
        "                          24 hours again, DURATION from now\n"
        "      --help     display this help and exit\n"
        "      --version  output version information and exit\n"
        "\n"
        "TIME is HH:MM (today, or tomorrow once that minute has passed), +Nm or +Nh\n"
        "(minutes or hours from now, at most 365 days), or 'YYYY-MM-DD HH:MM' as one\n"
        "argument. TEXT is one line of at most 990 characters (Unicode code points),\n"
        "without control characters. A reminder the schedule holds already (letter\n"
        "case aside) is not added twice.\n"
        "DURATION is Nm or Nh (a leading + is allowed), at most 365 days. --snooze\n"
        "adds a one-shot reminder with the fired item's text; it takes the ID that\n"
        "--list showed before the item fired, and works only while the clock that\n"
        "showed it runs (it keeps the reminders of the last 24 hours in memory).\n"
        "The verbs go to the running clock, on whatever display it runs; with none\n"
        "running, --remind, --list and --cancel change the schedule file, and the\n"
        "clock takes it at its next start. They need no display.\n"
        "--list prints one item a line, its fields separated by tabs:\n"
        "  ID  YYYY-MM-DD HH:MM  REPEAT  KIND  TEXT\n"
        "ID is 8 hexadecimal digits made from the item itself: it stays while other\n"
        "items are added, fire or are cancelled. A recurring item that fires comes\n"
        "back with its next date and a new ID; an ID no item has is refused (status 1).\n"
        "The date is the item's next one (today for one whose time passed while the\n"
        "clock was not running). REPEAT is once, daily, weekly, or the weekday in the\n"
        "plural (mondays, ...); KIND is reminder, run (TEXT is then the program, its\n"
        "parameters, folder and window state) or other. Control characters in TEXT\n"
        "show as blanks. --remind and --snooze print the item added (or the one held\n"
        "already) as such a line; --cancel prints the item removed, without ID.\n"
        "\n"
        "Settings are kept in $XDG_CONFIG_HOME/horolux/settings.reg, the schedule in\n"
        "$XDG_DATA_HOME/horolux/horolux.dat; where those variables are not set, in\n"
        "~/.config/horolux/settings.reg and ~/.local/share/horolux/horolux.dat.\n"
        "Qt's own command-line options are not accepted; its environment variables\n"
        "(DISPLAY, QT_QPA_PLATFORM, ...) work as usual.\n"
        "\n"
        "Exit status: 0 when the clock was closed normally, 1 when the schedule could\n"
        "not be saved as it closed, 2 for a wrong command line.\n"
        "For the reminder verbs: 0 done, 1 not done (no such item, none fired, schedule\n"
        "file unreadable or unwritable, running clock unreachable; never done later),\n"
        "2 bad input (the schedule is then left untouched), 3 not known whether done\n"
        "(the running clock took the request but did not answer in time).\n");
}

QString versionText()
{
    return QStringLiteral("horolux " HOROLUX_VERSION "\n");
}

} // namespace CommandLine
