#include "core/ShellWords.h"
#include "doubles/DiskFiles.h"
#include "platform/linux/LinuxLauncher.h"
#include "rules/sched/EditorRules.h"
#include "rules/sched/ScheduleEntry.h"
#include "rules/sched/ScheduleFile.h"
#include "rules/sched/ScheduleList.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A program that writes its working directory and arguments, NUL-separated, to `record`.
// The record is written under another name and renamed, so a reader never sees half of it.
QString writeRecorder(const QString& path, const QString& record)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write("#!/bin/sh\n");
    f.write(QString("printf '%s\\0' \"$(pwd)\" \"$@\" > '%1.part' && mv '%1.part' '%1'\n")
                .arg(record)
                .toUtf8());
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

// The record as raw bytes, one entry per field.
QList<QByteArray> readRecordBytes(const QString& record)
{
    QFile f(record);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray data = f.readAll();
    if (data.endsWith('\0'))
        data.chop(1);
    return data.split('\0');
}

QStringList readRecord(const QString& record)
{
    QStringList fields;
    for (const QByteArray& part : readRecordBytes(record))
        fields << QString::fromUtf8(part);
    return fields;
}

void writeFile(const QString& path, const QByteArray& content, QFileDevice::Permissions perms)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    QVERIFY(f.setPermissions(perms));
}

constexpr auto ReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace

class TestLauncher : public QObject {
    Q_OBJECT
private slots:
    void init();
    void split_data();
    void split();
    void unterminatedQuotes_data();
    void unterminatedQuotes();

    void programGetsWordsLiterally_data();
    void programGetsWordsLiterally();
    void programFoundRelativeToStartDirectory_data();
    void programFoundRelativeToStartDirectory();
    void refusals_data();
    void refusals();
    void documentsAndAddressesGoToTheOpener_data();
    void documentsAndAddressesGoToTheOpener();
    void missingOpenerFails();
    void closedRightAwayLeavesNothing();
    void programsRunAtNormalPriority();

    void editorAndLauncherAgree_data();
    void editorAndLauncherAgree();
    void nameThatIsNotUtf8RunsFromTheSchedule();
    void openerVerdict_data();
    void openerVerdict();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_record;
    QString m_recorder;
};

void TestLauncher::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkdir("work"));
    m_record = m_dir->filePath("record");
    m_recorder = writeRecorder(m_dir->filePath("recorder.sh"), m_record);
    QVERIFY(!m_recorder.isEmpty());
}

void TestLauncher::split_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("plain") << "  a  b\tc " << QStringList{"a", "b", "c"};
    QTest::newRow("double quotes") << R"("hello world" x)" << QStringList{"hello world", "x"};
    QTest::newRow("single quotes") << "'a \"b\" c'" << QStringList{"a \"b\" c"};
    QTest::newRow("quotes join") << R"(a"b c"'d e'f)" << QStringList{"ab cd ef"};
    QTest::newRow("empty quotes") << R"("" '' x)" << QStringList{"", "", "x"};
    QTest::newRow("escaped blank") << R"(a\ b c)" << QStringList{"a b", "c"};
    QTest::newRow("escaped quotes") << R"(\"a\' b)" << QStringList{"\"a'", "b"};
    QTest::newRow("trailing backslash") << R"(a\)" << QStringList{"a\\"};
    QTest::newRow("escapes inside double") << R"("a\"b\\c\$d\`e")" << QStringList{"a\"b\\c$d`e"};
    QTest::newRow("other backslash inside double") << R"("a\nb")" << QStringList{"a\\nb"};
    QTest::newRow("backslash inside single") << R"('a\'b)" << QStringList{"a\\b"};
    QTest::newRow("semicolon") << "a; rm -rf x" << QStringList{"a;", "rm", "-rf", "x"};
    QTest::newRow("substitution") << "$(touch x) `id` $HOME"
                                  << QStringList{"$(touch", "x)", "`id`", "$HOME"};
    QTest::newRow("glob and pipe")
        << "*.txt | tee > out &" << QStringList{"*.txt", "|", "tee", ">", "out", "&"};
    QTest::newRow("line continuation") << "a\\\nb" << QStringList{"ab"};
    QTest::newRow("unicode") << "«ü» 'é è'"
                             << QStringList{QStringLiteral("«ü»"), QStringLiteral("é è")};
}

void TestLauncher::split()
{
    QFETCH(QString, line);
    QFETCH(QStringList, words);
    const ShellWords::Result result = ShellWords::split(line);
    QVERIFY(result.ok);
    QCOMPARE(result.words, words);
}

void TestLauncher::unterminatedQuotes_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("double") << R"(a "b c)";
    QTest::newRow("single") << "a 'b c";
    QTest::newRow("escaped closing double") << R"("a\")";
}

void TestLauncher::unterminatedQuotes()
{
    QFETCH(QString, line);
    const ShellWords::Result result = ShellWords::split(line);
    QVERIFY(!result.ok);
    QVERIFY(result.words.isEmpty());
}

// The parameters must reach the program exactly as the user quoted them: no shell may run,
// so nothing is expanded and ; cannot start a second command.
void TestLauncher::programGetsWordsLiterally_data()
{
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("blanks") << "one  two" << QStringList{"one", "two"};
    QTest::newRow("quoted") << R"("with space" 'it''s' "a\"b")"
                            << QStringList{"with space", "its", "a\"b"};
    QTest::newRow("command separator") << "x; touch pwned" << QStringList{"x;", "touch", "pwned"};
    QTest::newRow("substitutions")
        << "\"$(touch pwned)\" `touch pwned` $HOME *"
        << QStringList{"$(touch pwned)", "`touch", "pwned`", "$HOME", "*"};
    QTest::newRow("empty argument") << "'' last" << QStringList{"", "last"};
    QTest::newRow("newline inside quotes") << "'a\nb'" << QStringList{"a\nb"};
}

void TestLauncher::programGetsWordsLiterally()
{
    QFETCH(QString, parameters);
    QFETCH(QStringList, arguments);
    const QString work = m_dir->filePath("work");
    LinuxLauncher launcher;
    QVERIFY(launcher.open(m_recorder, parameters, work, 1));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_record), 10000);
    QCOMPARE(readRecord(m_record), QStringList{work} + arguments);
    QVERIFY(!QFile::exists(QDir(work).filePath("pwned")));
    QVERIFY(!QFile::exists(m_dir->filePath("pwned")));
}

void TestLauncher::programFoundRelativeToStartDirectory_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("relative path") << "../recorder.sh";
    QTest::newRow("bare name in start directory") << "recorder-here";
}

void TestLauncher::programFoundRelativeToStartDirectory()
{
    QFETCH(QString, file);
    const QString work = m_dir->filePath("work");
    writeRecorder(QDir(work).filePath("recorder-here"), m_record);
    LinuxLauncher launcher;
    QVERIFY(launcher.open(file, "arg", work, 1));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_record), 10000);
    QCOMPARE(readRecord(m_record), (QStringList{work, "arg"}));
}

void TestLauncher::refusals_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QString>("directory");
    QTest::newRow("empty name") << ""
                                << ""
                                << "";
    QTest::newRow("missing file") << "missing.sh"
                                  << ""
                                  << "work";
    QTest::newRow("missing bare name") << "no-such-program-anywhere"
                                       << ""
                                       << "";
    QTest::newRow("directory") << "work"
                               << ""
                               << "";
    QTest::newRow("script without run permission") << "plain.sh"
                                                   << ""
                                                   << "";
    QTest::newRow("binary without run permission") << "plain.bin"
                                                   << ""
                                                   << "";
    QTest::newRow("missing start directory") << "recorder.sh"
                                             << ""
                                             << "nowhere";
    QTest::newRow("start directory is a file") << "recorder.sh"
                                               << ""
                                               << "recorder.sh";
    QTest::newRow("unterminated quote") << "recorder.sh"
                                        << "\"open"
                                        << "";
}

void TestLauncher::refusals()
{
    QFETCH(QString, file);
    QFETCH(QString, parameters);
    QFETCH(QString, directory);
    writeFile(m_dir->filePath("plain.sh"), "#!/bin/sh\ntouch ran\n", ReadWrite);
    writeFile(m_dir->filePath("plain.bin"),
              QByteArray("\x7f"
                         "ELF\2\1\1",
                         7),
              ReadWrite);
    const QString opened = m_dir->filePath("opened");
    // Whatever is refused must not be handed to the opener either.
    const QString opener = writeRecorder(m_dir->filePath("opener.sh"), opened);
    LinuxLauncher launcher(opener);
    const auto inDir = [&](const QString& name) {
        return name.isEmpty() || name.startsWith("no-such") ? name : m_dir->filePath(name);
    };
    QVERIFY(!launcher.open(inDir(file), parameters, inDir(directory), 1));
    QTest::qWait(100);
    QVERIFY(!QFile::exists(m_record));
    QVERIFY(!QFile::exists(opened));
}

void TestLauncher::documentsAndAddressesGoToTheOpener_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected"); // the opener's one argument; %1 the temp folder
    QTest::newRow("document") << "notes.txt"
                              << "%1/notes.txt";
    QTest::newRow("document relative to start") << "../notes.txt"
                                                << "%1/notes.txt";
    QTest::newRow("run permission, not a program") << "marked.txt"
                                                   << "%1/marked.txt";
    QTest::newRow("web address") << "https://example.org/a?b=c;d"
                                 << "https://example.org/a?b=c;d";
    QTest::newRow("mail address") << "mailto:someone@example.org"
                                  << "mailto:someone@example.org";
}

void TestLauncher::documentsAndAddressesGoToTheOpener()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    writeFile(m_dir->filePath("notes.txt"), "text\n", ReadWrite);
    writeFile(m_dir->filePath("marked.txt"), "text\n", ReadWrite | QFileDevice::ExeOwner);
    const QString work = m_dir->filePath("work");
    const QString opener = writeRecorder(m_dir->filePath("opener.sh"), m_record);
    LinuxLauncher launcher(opener);
    const QString target =
        file.contains(':') || file.startsWith("..") ? file : m_dir->filePath(file);
    // Parameters belong to programs; a document's opener gets the one argument only.
    QVERIFY(launcher.open(target, "--ignored", work, 5));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_record), 10000);
    if (expected.contains("%1"))
        expected = expected.arg(m_dir->path());
    QCOMPARE(readRecord(m_record), (QStringList{work, expected}));
}

// The clock itself runs in the idle class, from which a program could never climb back: what
// it starts must get the normal class.
void TestLauncher::programsRunAtNormalPriority()
{
    const QString out = m_dir->filePath("policy");
    const QString script = m_dir->filePath("policy.sh");
    writeFile(script, "#!/bin/sh\ncut -d' ' -f41 /proc/$$/stat > '" + out.toUtf8() + "'\n",
              ReadWrite | QFileDevice::ExeOwner);
    LinuxLauncher launcher;
    sched_param param{};
    QCOMPARE(sched_setscheduler(0, SCHED_IDLE, &param), 0);
    const bool started = launcher.open(script, QString(), m_dir->path(), 1);
    sched_setscheduler(0, SCHED_OTHER, &param); // as root the test thread can come back
    QVERIFY(started);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(out).size() > 0, 10000);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll().trimmed().toInt(), SCHED_OTHER);
}

void TestLauncher::missingOpenerFails()
{
    writeFile(m_dir->filePath("notes.txt"), "text\n", ReadWrite);
    LinuxLauncher launcher(m_dir->filePath("no-opener"));
    QVERIFY(!launcher.open(m_dir->filePath("notes.txt"), "", "", 1));
    QVERIFY(!launcher.open("https://example.org/", "", "", 1));
}

// Found by the sanitizer run: the spawning thread's context was queued for deletion just before
// the thread was told to quit, and was dropped when the thread had not reached its loop yet.
// The sanitizer run's leak check tells it here every time.
void TestLauncher::closedRightAwayLeavesNothing()
{
    for (int round = 0; round < 10; ++round)
        LinuxLauncher launcher;
}

// One table for both sides: whatever the item editor accepts reaches the program word by word
// as its help page describes, and whatever it refuses (naming the field) the launcher refuses
// too, so no stored item fails every day for how its parameters were typed.
void TestLauncher::editorAndLauncherAgree_data()
{
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QStringList>("words"); // what the program gets
    QTest::addColumn<bool>("refused");
    const auto accept = [](const char* name, const QString& p, const QStringList& w) {
        QTest::newRow(name) << p << w << false;
    };
    const auto refuse = [](const char* name, const QString& p) {
        QTest::newRow(name) << p << QStringList{} << true;
    };
    accept("blanks separate", "-v  report.txt\t2", {"-v", "report.txt", "2"});
    accept("single quotes keep all", QString::fromUtf8(R"('two words' 'C:\Temp\new')"),
           {"two words", QString::fromUtf8(R"(C:\Temp\new)")});
    accept("double quotes keep blanks", QString::fromUtf8(R"("my file.txt")"), {"my file.txt"});
    accept("escapes inside double quotes", QString::fromUtf8(R"("a\"b\\c\$d\`e\x")"),
           {QString::fromUtf8(R"(a"b\c$d`e\x)")});
    accept("backslash before blank", QString::fromUtf8(R"(my\ file.txt)"), {"my file.txt"});
    accept("backslash before quote", QString::fromUtf8(R"(O\'Brien)"), {"O'Brien"});
    accept("other quotes around", QString::fromUtf8(R"("O'Brien")"), {"O'Brien"});
    accept("doubled backslashes", QString::fromUtf8(R"(C:\\Temp\\new)"),
           {QString::fromUtf8(R"(C:\Temp\new)")});
    accept("one backslash", QString::fromUtf8(R"(\\)"), {QString::fromUtf8(R"(\)")});
    accept("trailing backslash", QString::fromUtf8(R"(end\)"), {QString::fromUtf8(R"(end\)")});
    accept("backslash before punctuation", QString::fromUtf8(R"(\-x \. \$HOME)"),
           {"-x", ".", "$HOME"});
    accept("parts join", QString::fromUtf8(R"(a"b c"'d')"), {"ab cd"});
    accept("empty word", QString::fromUtf8(R"("" x)"), {"", "x"});
    accept("nothing interpreted", "$HOME * ; | > `id`", {"$HOME", "*", ";", "|", ">", "`id`"});
    accept("non-ASCII", QStringLiteral("caf\u00e9 '\u00e0 b'"),
           {QStringLiteral("caf\u00e9"), QStringLiteral("\u00e0 b")});
    refuse("unpaired apostrophe", "p5 O'Brien");
    refuse("unclosed double quote", QString::fromUtf8(R"(say "hi)"));
    refuse("quote closed only by an escaped one", QString::fromUtf8(R"("a\")"));
    refuse("backslash before letter", QString::fromUtf8(R"(C:\Temp\new)"));
    refuse("backslash before digit", QString::fromUtf8(R"(\1)"));
    refuse("backslash before accented letter", QStringLiteral("\\\u00e9t\u00e9"));
}

void TestLauncher::editorAndLauncherAgree()
{
    QFETCH(QString, parameters);
    QFETCH(QStringList, words);
    QFETCH(bool, refused);
    const QString work = m_dir->filePath("work");

    EditorRules::EditorValues values;
    values.runProgram = true;
    values.program = m_recorder;
    values.parameters = parameters;
    values.startDir = work;
    const EditorRules::Refusal refusal = EditorRules::runItemRefusal(values);
    QCOMPARE(refusal.field, refused ? "Parameters" : QString());
    QCOMPARE(refusal.message.isEmpty(), !refused);

    // Through the stored line, as the scan would start it.
    const ScheduleEntry::RunDetail run =
        ScheduleEntry::ParseRunDetail(ScheduleEntry::detail(EditorRules::buildLine(values, 36526)));
    QCOMPARE(run.parameters, parameters);
    LinuxLauncher launcher;
    QCOMPARE(launcher.open(run.program, run.parameters, run.directory, run.showState), !refused);
    if (refused) {
        QTest::qWait(100);
        QVERIFY(!QFile::exists(m_record));
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_record), 10000);
    QCOMPARE(readRecord(m_record), QStringList{work} + words);
}

// A file name with the byte 0xE9 alone (not UTF-8) read from the schedule file must start that
// very file, in a start folder named likewise, with such a parameter.
void TestLauncher::nameThatIsNotUtf8RunsFromTheSchedule()
{
    const QByteArray base = QFile::encodeName(m_dir->path());
    const QByteArray folder = base + "/w\xe9rk";
    const QByteArray program = base + "/rec\xe9.sh";
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    const QByteArray script = "#!/bin/sh\nprintf '%s\\0' \"$0\" \"$(pwd)\" \"$@\" > '" +
                              QFile::encodeName(m_record) + "'\n";
    const int fd = ::open(program.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0700);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, script.constData(), size_t(script.size())), ssize_t(script.size()));
    ::close(fd);

    const QString schedule = m_dir->filePath("horolux.dat");
    {
        QFile f(schedule);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("08003652601Run:" + program + ",caf\xe9 'x\xe9 y'," + folder + ",1\r\n");
    }
    ScheduleList list;
    QVERIFY(ScheduleFile(diskFiles(), schedule).load(list).fileRead);
    QCOMPARE(list.count(), 1);
    const ScheduleEntry::RunDetail run =
        ScheduleEntry::ParseRunDetail(ScheduleEntry::detail(list.at(0)));
    LinuxLauncher launcher;
    QVERIFY(launcher.open(run.program, run.parameters, run.directory, run.showState));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_record), 10000);
    QCOMPARE(readRecordBytes(m_record), (QList<QByteArray>{program, folder, "caf\xe9", "x\xe9 y"}));
}

// What the desktop's opener says decides: status 4 is "nothing could open it". An opener still
// running after the wait counts as success. The clock's events keep running meanwhile.
void TestLauncher::openerVerdict_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("opened");
    QTest::newRow("nothing can open it")
        << QByteArray("sleep 0.3; echo 'x-terminal-emulator: not found' >&2; exit 4") << false;
    QTest::newRow("opened") << QByteArray("sleep 0.3; exit 0") << true;
    QTest::newRow("still running after the wait")
        << QByteArray("echo $$ > \"$0.pid\"; exec sleep 30 </dev/null >/dev/null 2>&1") << true;
    QTest::newRow("killed") << QByteArray("sleep 0.3; kill -KILL $$") << false;
}

void TestLauncher::openerVerdict()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, opened);
    const QString bin = m_dir->filePath("bin");
    QVERIFY(QDir().mkpath(bin));
    writeFile(bin + "/xdg-open",
              "#!/bin/sh\necho \"$1\" > '" + QFile::encodeName(m_record) + ".arg'\n" + script +
                  "\n",
              ReadWrite | QFileDevice::ExeOwner);
    writeFile(m_dir->filePath("notes.txt"), "text\n", ReadWrite);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin) + ":" + oldPath);
    const auto restore = qScopeGuard([&] { qputenv("PATH", oldPath); });

    LinuxLauncher launcher("xdg-open", 1000);
    for (const QString& target :
         QStringList{m_dir->filePath("notes.txt"), "https://example.org/"}) {
        int ticks = 0;
        QTimer face;
        QObject::connect(&face, &QTimer::timeout, [&] { ++ticks; });
        face.start(20);
        QCOMPARE(launcher.open(target, QString(), QString(), 5), opened);
        // The face went on ticking while the opener was awaited.
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
        QFile arg(m_record + ".arg");
        QVERIFY(arg.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(arg.readAll().trimmed()), target);
        // An opener left running (it is nobody's child here) is ended by its process id.
        QFile pid(bin + "/xdg-open.pid");
        if (pid.open(QIODevice::ReadOnly)) {
            const pid_t sleeper = pid.readAll().trimmed().toInt();
            pid.close();
            pid.remove();
            if (sleeper > 0)
                ::kill(sleeper, SIGTERM);
        }
    }
}

QTEST_MAIN(TestLauncher)
#include "tst_launcher.moc"
