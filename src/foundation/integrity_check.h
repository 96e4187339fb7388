#pragma once

#include "foundation/file_health.h"

#include <QString>
#include <memory>
#include <mutex>
#include <thread>

namespace kestavion {

class SqliteDatabase;

// The full check of the database file's pages and indexes. It costs seconds on a
// large file, so it runs where nobody waits: on a second, read-only, keyed connection
// in a worker thread (WAL lets a reader work beside the one writer); never on the
// writer's connection.
class IntegrityCheck {
public:
    // Checks the file at `path` on a connection of its own: Good when the engine finds
    // nothing wrong, Damaged when it finds a fault or reports a damaged file, Unchecked
    // when the check could not run (the file vanished, the check was stopped).
    static FileHealth::State run(const QString &path);

    // Starts the check in a worker thread; its finding goes into `health`.
    IntegrityCheck(const QString &path, FileHealth &health);
    // Stops a check still running (the program is closing) and waits for the thread.
    ~IntegrityCheck();
    IntegrityCheck(const IntegrityCheck &) = delete;
    IntegrityCheck &operator=(const IntegrityCheck &) = delete;

    bool finished() const { return finished_.load(); }

private:
    static FileHealth::State check(const QString &path, IntegrityCheck *owner);
    std::mutex mutex_;
    SqliteDatabase *running_ = nullptr;  // the worker's connection, while it is open
    bool stopping_ = false;
    std::atomic<bool> finished_{false};
    std::thread worker_;
};

}  // namespace kestavion
