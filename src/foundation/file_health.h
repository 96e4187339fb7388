#pragma once

#include "foundation/database.h"

#include <QString>
#include <atomic>

namespace kestavion {

// What the background integrity check found about the open database file. The
// checking thread writes it; screens and the backup on exit read it.
class FileHealth {
public:
    enum class State { Unchecked, Good, Damaged };
    State state() const { return static_cast<State>(state_.load()); }
    void set(State s) { state_.store(static_cast<int>(s)); }
    bool damaged() const { return state() == State::Damaged; }

private:
    std::atomic<int> state_{static_cast<int>(State::Unchecked)};
};

// Shown when the file is found damaged, after login or whenever the engine says so.
inline const QString kFileDamaged =
    QStringLiteral("数据库文件已损坏！请停止营业操作，关闭程序，并用最近一次的备份恢复数据库文件。");

// True when the engine's error says the file itself is damaged (a page that fails its
// check, "database disk image is malformed", "file is not a database").
bool reportsDamagedFile(const DbError &error);

}  // namespace kestavion
