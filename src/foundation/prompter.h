#pragma once

#include <QString>

namespace kestavion {

// The application's title: message boxes that have no title of their own carry it,
// and the main window's caption is this + "-" + shop name.
inline const QString kAppTitle = QStringLiteral("Kestavion鞋店管理系统");
// The title most of the system's messages carry.
inline const QString kTitleHint = QStringLiteral("提示");

// Every message box goes through this, so tests can record and answer them.
class Prompter {
public:
    enum class Kind { Info, Warning, Exclamation, Question, Plain };
    virtual ~Prompter() = default;
    virtual void info(const QString &text, const QString &title = kAppTitle) = 0;
    virtual void warning(const QString &text, const QString &title = kAppTitle) = 0;
    virtual void exclamation(const QString &text, const QString &title = kAppTitle) = 0;
    // Yes/No, Yes the default; true for Yes.
    virtual bool question(const QString &text, const QString &title = kTitleHint) = 0;
    // No icon, OK only: the engine's own error text.
    virtual void plain(const QString &text, const QString &title = kAppTitle) = 0;
};

// The reading code's report when a statement fails.
inline const QString kReadFailed = QStringLiteral("读取数据库出现异常！请检查网络，重新启动程序");

}  // namespace kestavion
