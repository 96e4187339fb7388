#pragma once

#include "foundation/prompter.h"

#include <QString>
#include <stdexcept>

namespace kestavion {

struct Session;

// A rule said no: the stock is gone, the name is taken, the user lacks the right.
// Not an engine failure (that is DbError): the screen shows the rule's own message,
// icon and title and nothing else, and the service has written nothing.
class Refusal : public std::runtime_error {
public:
    enum class Icon { Info, Warning, Exclamation };
    explicit Refusal(const QString &message, Icon icon = Icon::Warning, const QString &title = kTitleHint)
        : std::runtime_error(message.toStdString()), message_(message), icon_(icon), title_(title) {}
    const QString &message() const { return message_; }
    Icon icon() const { return icon_; }
    const QString &title() const { return title_; }

    // Shows the refusal with its own icon and title.
    void show(Prompter &prompter) const;

private:
    QString message_;
    Icon icon_;
    QString title_;
};

// The refusal a service gives when the logged-in user's role lacks the key of the
// menu entry it serves.
inline const QString kNoPermission = QStringLiteral("对不起，您没有使用此功能的权限！");

// Throws Refusal(kNoPermission) unless the session's role allows `key`. Every service
// operation reached from a gated menu entry calls this before it reads or writes.
void requirePermission(const Session &session, const QString &key);

}  // namespace kestavion
