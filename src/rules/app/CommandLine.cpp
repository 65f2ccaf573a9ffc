#include "rules/app/CommandLine.h"

namespace CommandLine {

namespace {

const QString Help = QStringLiteral("help");
const QString Version = QStringLiteral("version");
const QString Session = QStringLiteral("-session");
const QString SessionName = QStringLiteral("-name");

Request refuse(const QString& what)
{
    return {Action::Refuse,
            QStringLiteral("horolux: %1; try 'horolux --help' for more information").arg(what)};
}

// A long option given as "--name" or "--name=value"; `name` may be any unique beginning.
Request longOption(const QString& argument)
{
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
    QString full;
    if (!name.isEmpty() && Help.startsWith(name))
        full = Help;
    else if (!name.isEmpty() && Version.startsWith(name))
        full = Version;
    if (full.isEmpty())
        return refuse(QStringLiteral("unrecognized option '%1'").arg(argument));
    if (equals >= 0)
        return refuse(QStringLiteral("option '--%1' doesn't allow an argument").arg(full));
    return {full == Help ? Action::Help : Action::Version, {}};
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
            return longOption(argument);
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
        "Show a small clock panel on the desktop, with an hourly chime, reminders and\n"
        "scheduled programs. Starting it again while it runs brings the running clock's\n"
        "panel to the front.\n"
        "\n"
        "      --help     display this help and exit\n"
        "      --version  output version information and exit\n"
        "\n"
        "Settings are kept in $XDG_CONFIG_HOME/horolux/settings.reg, the schedule in\n"
        "$XDG_DATA_HOME/horolux/horolux.dat; where those variables are not set, in\n"
        "~/.config/horolux/settings.reg and ~/.local/share/horolux/horolux.dat.\n"
        "Qt's own command-line options are not accepted; its environment variables\n"
        "(DISPLAY, QT_QPA_PLATFORM, ...) work as usual.\n"
        "\n"
        "Exit status: 0 when the clock was closed normally, 1 when the schedule could\n"
        "not be saved as it closed, 2 for a wrong command line.\n");
}

QString versionText()
{
    return QStringLiteral("horolux " HOROLUX_VERSION "\n");
}

} // namespace CommandLine
