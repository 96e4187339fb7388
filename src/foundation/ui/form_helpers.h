#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QComboBox;
class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;
class QKeyEvent;

namespace kestavion {

class Database;
class Prompter;
struct AppContext;

// Fills a combo box with one lookup list and selects the first entry (if any). When
// the list cannot be read it stays empty and the engine's text is shown through
// `prompter` (if given).
void fillComboFromDictionary(Database &db, const QString &item, QComboBox *combo, Prompter *prompter = nullptr);
// The same with "全部" first, selected.
void fillComboFromDictionaryWithAll(Database &db, const QString &item, QComboBox *combo,
                                    Prompter *prompter = nullptr);
// The screens' form: the context's database and prompter.
void fillComboFromDictionary(AppContext &ctx, const QString &item, QComboBox *combo);
void fillComboFromDictionaryWithAll(AppContext &ctx, const QString &item, QComboBox *combo);

// Enter (Return or keypad Enter) moves the focus to the next field of the window.
// One shared filter; install it on the fields that should behave so.
class EnterToTab : public QObject {
public:
    static EnterToTab *instance();
    static void install(std::initializer_list<QWidget *> widgets);
    static void install(QWidget *w);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Enter (Return or keypad Enter) on a focused push button clicks it: the screens move
// the focus onto their buttons with Enter, and their buttons are no dialog defaults.
// Installed on the push buttons `screen` has when called.
class EnterClicksButtons : public QObject {
public:
    static void install(QWidget *screen);

protected:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Lets a screen see every key before its controls (the till's F-keys and Del).
// The handler returns true when it consumed the key. Installed on the application
// while `screen` lives; only keys aimed at `screen` or its children are passed on.
class KeyPreview : public QObject {
public:
    using Handler = std::function<bool(QKeyEvent *)>;
    KeyPreview(QWidget *screen, Handler handler);
    ~KeyPreview() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *screen_;
    Handler handler_;
};

// Digits only (no sign, no decimal point) when on; any text when off.
void setNumericOnly(QLineEdit *box, bool on);

// A drop-down list of fixed width whose shown entry ends in "…" when it is longer
// than the box (its pop-up list elides the same way): a long entry never widens it.
QComboBox *fixedWidthComboBox(QWidget *parent, int width);

// A push button with its control name, never a dialog default (Enter never clicks it
// behind the user's back).
QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption);

// Turns off every button's auto-default in a dialog so Enter in a field never clicks
// a button behind the user's back.
void disableAutoDefault(QDialog *dialog);

class DbError;

// Every money box takes at most Money::kMaxCents. A larger number is refused with
// kMoneyTooLarge, the box focused and its text selected; true when the box is within
// the limit (or holds no number: the screen's own check reports that).
bool moneyBoxAccepted(Prompter &prompter, QLineEdit *box);

// Runs a service call. A rule's refusal is shown with its own message, icon and title
// and nothing else; an engine failure is shown as showDbError does. Either returns
// false (the caller then shows its own follow-up message, if any).
bool runReporting(Prompter &prompter, const std::function<void()> &work);

// The engine's text in a plain box; when the engine says the file is damaged, our
// own message about restoring the last backup follows it.
void showDbError(Prompter &prompter, const DbError &error);

}  // namespace kestavion
