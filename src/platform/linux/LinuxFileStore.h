#pragma once

#include "ports/IFileStore.h"

// Files on the local file system: atomic replacement through AtomicFile, locks through flock.
class LinuxFileStore : public IFileStore {
public:
    FileReadStatus read(const QString& path, QByteArray& data, qint64 maxBytes,
                        Fault* fault = nullptr) override;
    bool write(const QString& path, const QByteArray& data, QString* error = nullptr,
               Fault* fault = nullptr) override;
    bool moveAside(const QString& path, const QString& suffix) override;
    bool isLink(const QString& path) const override;
    void removeStaleTemporaries(const QString& path) override;
    LockAttempt tryLock(const QString& lockPath) override;
};
