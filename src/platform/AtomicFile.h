#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file so that a crash or a failed write leaves either the old file or the new one,
// never a partial or empty one: a temporary file in the same folder, every write and the flush
// checked, fsync, rename over the old file, fsync of the folder.
namespace AtomicFile {

// False when anything failed; the old file is then untouched and `error` says why.
bool write(const QString& path, const QByteArray& data, QString* error = nullptr);

enum class ReadStatus { Ok, Missing, Failed };

// Reads a whole file. Failed covers a file that exists but cannot be read in full (no
// permission, an input error, larger than maxBytes): callers must not replace such a file
// as if it were absent.
ReadStatus read(const QString& path, QByteArray& data, qint64 maxBytes);

// Renames a file that cannot be used out of the way, to path + suffix (or path + suffix + ".N"
// when that exists already), so it is kept. False when it could not be moved.
bool moveAside(const QString& path, const QString& suffix, QString* newPath = nullptr);

} // namespace AtomicFile
