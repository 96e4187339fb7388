#pragma once

#include "foundation/prompter.h"

#include <QString>
#include <deque>
#include <vector>

namespace kestavion::test {

// Records every message (kind, text, title) and answers questions from a queue
// (Yes when the queue is empty).
class ScriptedPrompter final : public Prompter {
public:
    struct Message {
        Kind kind;
        QString text;
        QString title;
    };

    void info(const QString &text, const QString &title = kAppTitle) override { record(Kind::Info, text, title); }
    void warning(const QString &text, const QString &title = kAppTitle) override { record(Kind::Warning, text, title); }
    void exclamation(const QString &text, const QString &title = kAppTitle) override {
        record(Kind::Exclamation, text, title);
    }
    void plain(const QString &text, const QString &title = kAppTitle) override { record(Kind::Plain, text, title); }
    bool question(const QString &text, const QString &title = kTitleHint) override {
        record(Kind::Question, text, title);
        if (answers.empty()) return true;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }

    // Queue the answers of the next questions (true = Yes).
    void answer(std::initializer_list<bool> a) { answers.insert(answers.end(), a); }
    QString lastText() const { return messages.empty() ? QString() : messages.back().text; }
    const Message *last() const { return messages.empty() ? nullptr : &messages.back(); }
    QStringList texts() const {
        QStringList t;
        for (const auto &m : messages) t << m.text;
        return t;
    }
    void clear() { messages.clear(); }

    std::vector<Message> messages;
    std::deque<bool> answers;

private:
    void record(Kind k, const QString &text, const QString &title) { messages.push_back({k, text, title}); }
};

}  // namespace kestavion::test
