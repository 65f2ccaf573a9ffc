#include "platform/LinuxLauncher.h"

#include "platform/ShellWords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <utility>

namespace {

bool looksLikeAddress(const QString& file)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://\\S"));
    return scheme.match(file).hasMatch() ||
           file.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive);
}

// Starts with a script's "#!" or an ELF header: meant to be run, not opened.
bool hasProgramHeader(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(4);
    return head.startsWith("#!") || head == QByteArray("\x7f"
                                                       "ELF",
                                                       4);
}

} // namespace

LinuxLauncher::LinuxLauncher(QString opener) : m_opener(std::move(opener))
{
    m_spawner = new QThread;
    m_spawner->setObjectName(QStringLiteral("launcher"));
    m_spawnerContext = new QObject;
    m_spawnerContext->moveToThread(m_spawner);
    m_spawner->start();
}

LinuxLauncher::~LinuxLauncher()
{
    QMetaObject::invokeMethod(m_spawnerContext, [c = m_spawnerContext] { delete c; });
    m_spawner->quit();
    m_spawner->wait();
    delete m_spawner;
}

bool LinuxLauncher::startDetached(const QString& program, const QStringList& arguments,
                                  const QString& directory)
{
    bool started = false;
    QMetaObject::invokeMethod(
        m_spawnerContext,
        [&] { started = QProcess::startDetached(program, arguments, directory); },
        Qt::BlockingQueuedConnection);
    return started;
}

LinuxLauncher::Target LinuxLauncher::classify(const QString& file, const QString& startDirectory)
{
    if (file.isEmpty())
        return {};
    if (looksLikeAddress(file))
        return {Kind::Address, file};

    QString path;
    if (file.contains(QLatin1Char('/'))) {
        path = QDir::cleanPath(QDir(startDirectory).absoluteFilePath(file));
    } else {
        // A bare name is a command from PATH first, as in a terminal; otherwise a file in
        // the start directory (a document named without its folder).
        path = QStandardPaths::findExecutable(file);
        if (path.isEmpty())
            path = QDir(startDirectory).absoluteFilePath(file);
    }

    const QFileInfo info(path);
    if (!info.exists())
        return {Kind::Missing, path};
    if (!info.isFile() || !info.isReadable())
        return {Kind::NotRunnable, path};
    const bool header = hasProgramHeader(path);
    // The run permission alone is not enough: files on some mounted drives all carry it.
    if (info.isExecutable() && header)
        return {Kind::Program, path};
    if (header)
        return {Kind::NotRunnable, path};
    return {Kind::Document, path};
}

bool LinuxLauncher::open(const QString& file, const QString& parameters, const QString& directory,
                         int show)
{
    Q_UNUSED(show);
    QString workDir = QDir::currentPath();
    if (!directory.isEmpty()) {
        const QFileInfo dir(directory);
        if (!dir.isDir())
            return false;
        workDir = dir.absoluteFilePath();
    }

    const Target target = classify(file, workDir);
    switch (target.kind) {
    case Kind::Missing:
    case Kind::NotRunnable:
        return false;
    case Kind::Program: {
        const ShellWords::Result words = ShellWords::split(parameters);
        if (!words.ok)
            return false;
        return startDetached(target.path, words.words, workDir);
    }
    case Kind::Document:
    case Kind::Address:
        return startDetached(m_opener, {target.path}, workDir);
    }
    return false;
}
