#pragma once

#include "foundation/prompter.h"

class QWidget;

namespace kestavion {

// Message boxes on the screen: information / warning / warning / question / no icon.
// Questions offer Yes and No with Yes the default (Enter confirms, Esc answers No).
class QtPrompter final : public Prompter {
public:
    void info(const QString &text, const QString &title = kAppTitle) override;
    void warning(const QString &text, const QString &title = kAppTitle) override;
    void exclamation(const QString &text, const QString &title = kAppTitle) override;
    bool question(const QString &text, const QString &title = kTitleHint) override;
    void plain(const QString &text, const QString &title = kAppTitle) override;
};

}  // namespace kestavion
