#pragma once

#include <QtGlobal>

class QByteArray;
class QString;

// What reading a whole file found. Failed covers a file that is there but cannot be read as a
// whole (no permission, not a regular file, a link that leads nowhere, larger than the limit):
// callers must not replace such a file as if it were absent.
enum class FileReadStatus { Ok, Missing, Failed };

// Reads the whole file at `path`, at most `maxBytes` of it (AtomicFile::read). The rules take the
// reader in this form so that they need no platform code.
using FileReader = FileReadStatus (*)(const QString& path, QByteArray& data, qint64 maxBytes);
