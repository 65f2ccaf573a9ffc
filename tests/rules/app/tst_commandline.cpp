#include "rules/app/CommandLine.h"

#include <QRegularExpression>
#include <QTest>

using CommandLine::Action;

Q_DECLARE_METATYPE(CommandLine::Action)

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void texts();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("error");
    const QString tail = "; try 'horolux --help' for more information";

    QTest::newRow("none") << QStringList{} << Action::Run << "";
    QTest::newRow("end of options alone") << QStringList{"--"} << Action::Run << "";
    QTest::newRow("help") << QStringList{"--help"} << Action::Help << "";
    QTest::newRow("version") << QStringList{"--version"} << Action::Version << "";
    QTest::newRow("shortened") << QStringList{"--h"} << Action::Help << "";
    QTest::newRow("shortened version") << QStringList{"--vers"} << Action::Version << "";
    // Options are read before operands, and the first option decides.
    QTest::newRow("operand before help") << QStringList{"x", "--help"} << Action::Help << "";
    QTest::newRow("help then bad") << QStringList{"--help", "--bad"} << Action::Help << "";
    QTest::newRow("version then help")
        << QStringList{"--version", "--help"} << Action::Version << "";
    QTest::newRow("bad then help") << QStringList{"--bad", "--help"} << Action::Refuse
                                   << "horolux: unrecognized option '--bad'" + tail;
    QTest::newRow("longer than help") << QStringList{"--helpme"} << Action::Refuse
                                      << "horolux: unrecognized option '--helpme'" + tail;
    QTest::newRow("value given") << QStringList{"--vers=2"} << Action::Refuse
                                 << QStringLiteral(
                                        "horolux: option '--version' doesn't allow an argument") +
                                        tail;
    QTest::newRow("empty name with value")
        << QStringList{"--=x"} << Action::Refuse << "horolux: unrecognized option '--=x'" + tail;
    // Qt's own options are not offered.
    QTest::newRow("qt option") << QStringList{"-platform", "offscreen"} << Action::Refuse
                               << "horolux: invalid option -- 'p'" + tail;
    QTest::newRow("short help") << QStringList{"-h"} << Action::Refuse
                                << "horolux: invalid option -- 'h'" + tail;
    QTest::newRow("operand") << QStringList{"now", "later"} << Action::Refuse
                             << "horolux: extra operand 'now'" + tail;
    QTest::newRow("dash is an operand")
        << QStringList{"-"} << Action::Refuse << "horolux: extra operand '-'" + tail;
    QTest::newRow("help after end of options") << QStringList{"--", "--help"} << Action::Refuse
                                               << "horolux: extra operand '--help'" + tail;
    // What Qt's session management gives the session manager to start the clock again.
    QTest::newRow("session") << QStringList{"-session", "10a8c0000001_1700000000_5"} << Action::Run
                             << "";
    QTest::newRow("session, other name")
        << QStringList{"-session", "10a8c_1_2", "-name", "clock"} << Action::Run << "";
    QTest::newRow("name without session") << QStringList{"-name", "clock"} << Action::Refuse
                                          << "horolux: invalid option -- 'n'" + tail;
    QTest::newRow("session without value")
        << QStringList{"-session"} << Action::Refuse
        << "horolux: option '-session' requires an argument" + tail;
    QTest::newRow("session as a long option") << QStringList{"--session", "1"} << Action::Refuse
                                              << "horolux: unrecognized option '--session'" + tail;
    QTest::newRow("session and an operand") << QStringList{"-session", "1", "now"} << Action::Refuse
                                            << "horolux: extra operand 'now'" + tail;
    // The reminder verbs take their values whatever they look like, and stand alone.
    QTest::newRow("remind") << QStringList{"--remind", "+5m", "-5 degrees outside"}
                            << Action::Remind << "";
    QTest::newRow("shortened list") << QStringList{"--l"} << Action::List << "";
    QTest::newRow("cancel with =") << QStringList{"--cancel=3"} << Action::Cancel << "";
    QTest::newRow("remind without text")
        << QStringList{"--remind", "10:00"} << Action::Refuse
        << "horolux: option '--remind' requires two arguments, TIME and TEXT" + tail;
    QTest::newRow("shortened snooze")
        << QStringList{"--sn", "5f06566e", "+10m"} << Action::Snooze << "";
    QTest::newRow("snooze without duration")
        << QStringList{"--snooze", "5f06566e"} << Action::Refuse
        << "horolux: option '--snooze' requires two arguments, ID and DURATION" + tail;
    QTest::newRow("cancel without item")
        << QStringList{"--cancel"} << Action::Refuse
        << "horolux: option '--cancel' requires an argument" + tail;
    QTest::newRow("operand before list")
        << QStringList{"x", "--list"} << Action::Refuse << "horolux: extra operand 'x'" + tail;
    QTest::newRow("remind and more") << QStringList{"--remind", "1:00", "t", "--help"}
                                     << Action::Refuse << "horolux: extra operand '--help'" + tail;
    QTest::newRow("empty operand")
        << QStringList{""} << Action::Refuse << "horolux: extra operand ''" + tail;
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    const CommandLine::Request request = CommandLine::parse(arguments);
    QTEST(request.action, "action");
    QTEST(request.error, "error");
}

void TestCommandLine::texts()
{
    QVERIFY(QRegularExpression("^horolux \\d+\\.\\d+\\.\\d+\\n$")
                .match(CommandLine::versionText())
                .hasMatch());
    const QString help = CommandLine::helpText();
    QVERIFY(help.startsWith("Usage: horolux [OPTION]\n"));
    QVERIFY(help.contains("~/.config/horolux/settings.reg"));
    // Fits an 80-column terminal without wrapping.
    for (const QString& line : help.split('\n'))
        QVERIFY2(line.size() < 80, qPrintable(line));
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
