#pragma once

#include "ports/FileReadStatus.h"

#include <QByteArray>
#include <QString>

// Replaces a file so that a crash or a failed write leaves either the old file or the new one,
// never a partial or empty one: a temporary file in the same folder, every write and the flush
// checked, fsync, rename over the old file, fsync of the folder.
namespace AtomicFile {

// Replaces only a regular file the user may write, or creates one where nothing is; a symbolic
// link is followed only to such a file. Anything else (a device, a FIFO, a folder, a link that
// leads nowhere, a read-only file) is refused and left untouched. A new file is made 0600; a
// replaced one keeps its mode. Root is held to the mode's
// write bits as a user would be. False when anything failed; `error` and errno then say why.
bool write(const QString& path, const QByteArray& data, QString* error = nullptr);

using ReadStatus = FileReadStatus;

// Reads a whole regular file of at most maxBytes. Opens without blocking and never opens
// anything but a regular file, so a FIFO or a device can neither hang nor exhaust the caller.
// After Failed, errno says why: EFBIG for a file over the limit, EINVAL for no regular file.
ReadStatus read(const QString& path, QByteArray& data, qint64 maxBytes);

// Renames a file that cannot be used out of the way, to path + suffix (or path + suffix + ".N"
// when that exists already), so it is kept. False when it could not be moved.
bool moveAside(const QString& path, const QString& suffix, QString* newPath = nullptr);

// Removes the temporary files that saves of `path` killed midway left beside it (or beside the
// file a link there leads to). A temporary that a running save still holds is left alone.
// Returns how many were removed.
int removeStaleTemporaries(const QString& path);

} // namespace AtomicFile
