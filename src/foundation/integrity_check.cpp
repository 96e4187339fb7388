#include "foundation/integrity_check.h"

#include "foundation/sqlite_database.h"

namespace kestavion {

FileHealth::State IntegrityCheck::run(const QString &path) { return check(path, nullptr); }

FileHealth::State IntegrityCheck::check(const QString &path, IntegrityCheck *owner) {
    try {
        auto db = SqliteDatabase::open(path, SqliteDatabase::OpenMode::ReadOnly);
        if (owner) {
            std::lock_guard lock(owner->mutex_);
            if (owner->stopping_) return FileHealth::State::Unchecked;
            owner->running_ = db.get();
        }
        ResultSet rs;
        try {
            rs = db->exec(QStringLiteral("PRAGMA integrity_check"));
        } catch (const DbError &e) {
            if (owner) {
                std::lock_guard lock(owner->mutex_);
                owner->running_ = nullptr;
            }
            // The check itself stops with a plain error (SQLITE_ERROR, 1) when a page it
            // walks cannot even be decoded: that is a damaged file, not an unchecked one.
            if ((e.code() & 0xff) == 1) return FileHealth::State::Damaged;
            throw;
        } catch (...) {
            if (owner) {
                std::lock_guard lock(owner->mutex_);
                owner->running_ = nullptr;
            }
            throw;
        }
        if (owner) {
            std::lock_guard lock(owner->mutex_);
            owner->running_ = nullptr;
        }
        // One row "ok" when nothing is wrong; otherwise one row per fault found.
        const bool ok = rs.rowCount() == 1 && rs.text(0, 0) == QLatin1String("ok");
        return ok ? FileHealth::State::Good : FileHealth::State::Damaged;
    } catch (const DbError &e) {
        return reportsDamagedFile(e) ? FileHealth::State::Damaged : FileHealth::State::Unchecked;
    }
}

IntegrityCheck::IntegrityCheck(const QString &path, FileHealth &health) {
    worker_ = std::thread([this, path, &health] {
        const FileHealth::State found = check(path, this);
        // A damaged file reported by the engine meanwhile stays damaged.
        if (found != FileHealth::State::Unchecked && !health.damaged()) health.set(found);
        finished_.store(true);
    });
}

IntegrityCheck::~IntegrityCheck() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        if (running_) running_->interrupt();
    }
    if (worker_.joinable()) worker_.join();
}

}  // namespace kestavion
