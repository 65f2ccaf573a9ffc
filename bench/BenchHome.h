#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

// Points HOME, the XDG folders and Qt's platform at a temporary folder before the application
// exists, so a benchmark never touches the user's own files or display.
inline bool isolateBenchHome(const QTemporaryDir& home)
{
    if (!home.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return false;
    }
    const QByteArray root = QFile::encodeName(home.path());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("HOME", root);
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    QDir().mkpath(home.filePath(QStringLiteral("runtime")));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");
    return true;
}
