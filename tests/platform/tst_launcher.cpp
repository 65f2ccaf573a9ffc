#include "platform/LinuxLauncher.h"
#include "platform/ShellWords.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sched.h>

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

QStringList readRecord(const QString& record)
{
    QFile f(record);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray data = f.readAll();
    if (data.endsWith('\0'))
        data.chop(1);
    QStringList fields;
    for (const QByteArray& part : data.split('\0'))
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
    void programsRunAtNormalPriority();

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
    QTest::newRow("unicode") << "«ü» 'é è'" << QStringList{"«ü»", "é è"};
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

QTEST_MAIN(TestLauncher)
#include "tst_launcher.moc"
