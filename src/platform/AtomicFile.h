#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file so that a crash or a failed write leaves either the old file or the new one,
// never a partial or empty one: a temporary file in the same folder, every write and the flush
// checked, fsync, rename over the old file, fsync of the folder.
namespace AtomicFile {

// False when anything failed; the old file is then untouched and `error` says why.
bool write(const QString& path, const QByteArray& data, QString* error = nullptr);

// Reads a whole file; false when it does not exist or cannot be read.
bool read(const QString& path, QByteArray& data, qint64 maxBytes = qint64(1) << 31);

} // namespace AtomicFile
