#pragma once

#include "ports/FileReadStatus.h"

#include <QByteArray>
#include <QString>

#include <memory>

// Whole files as bytes, each replaced atomically: what the program's own files need of the
// file system. What the bytes mean, and what to do with a file that cannot be used, is the
// caller's business.
class IFileStore {
public:
    // Why the last read or write failed, where the caller acts on the reason.
    enum class Fault {
        None,
        TooLarge,    // a regular file over the size limit
        NoResources, // the process or the system ran out of file descriptors
        Other,
    };

    // An advisory lock, held until the object is destroyed.
    class Lock {
    public:
        virtual ~Lock() = default;
    };
    enum class LockState { Held, Busy, NoResources };
    struct LockAttempt {
        LockState state = LockState::Held;
        // Empty when the lock file could not be opened for another reason than resources: the
        // caller then goes on unlocked, and its write finds out whether the folder can be used.
        std::unique_ptr<Lock> lock;
    };

    virtual ~IFileStore() = default;

    // Reads a whole regular file of at most maxBytes; never blocks on a FIFO or a device.
    virtual FileReadStatus read(const QString& path, QByteArray& data, qint64 maxBytes,
                                Fault* fault = nullptr) = 0;
    // Replaces the file so that a crash leaves the old one or the new one, never a part of
    // either; makes its folder when missing. `error` says why in words when it failed.
    virtual bool write(const QString& path, const QByteArray& data, QString* error = nullptr,
                       Fault* fault = nullptr) = 0;
    // Renames a file that cannot be used out of the way (path + suffix, numbered when taken).
    virtual bool moveAside(const QString& path, const QString& suffix) = 0;
    virtual bool isLink(const QString& path) const = 0;
    // Removes what replacements of `path` killed midway left beside it.
    virtual void removeStaleTemporaries(const QString& path) = 0;
    // Tries the lock kept in the file `lockPath` without waiting.
    virtual LockAttempt tryLock(const QString& lockPath) = 0;
};
