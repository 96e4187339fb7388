#include "foundation/ui/form_helpers.h"

#include "foundation/app_context.h"
#include "foundation/database.h"
#include "foundation/dictionary.h"
#include "foundation/file_health.h"
#include "foundation/money.h"
#include "foundation/prompter.h"
#include "foundation/refusal.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace kestavion {

namespace {
// The entries of one list; empty (and the engine's text shown) when it cannot be read.
QStringList dictionaryEntries(Database &db, const QString &item, Prompter *prompter) {
    try {
        return Dictionary(db).entries(item);
    } catch (const DbError &e) {
        if (prompter) showDbError(*prompter, e);
        return {};
    }
}
}  // namespace

void fillComboFromDictionary(Database &db, const QString &item, QComboBox *combo, Prompter *prompter) {
    combo->clear();
    combo->addItems(dictionaryEntries(db, item, prompter));
    if (combo->count() > 0) combo->setCurrentIndex(0);
}

void fillComboFromDictionaryWithAll(Database &db, const QString &item, QComboBox *combo, Prompter *prompter) {
    combo->clear();
    combo->addItem(QStringLiteral("全部"));
    combo->addItems(dictionaryEntries(db, item, prompter));
    combo->setCurrentIndex(0);
}

void fillComboFromDictionary(AppContext &ctx, const QString &item, QComboBox *combo) {
    fillComboFromDictionary(*ctx.db, item, combo, ctx.prompter);
}

void fillComboFromDictionaryWithAll(AppContext &ctx, const QString &item, QComboBox *combo) {
    fillComboFromDictionaryWithAll(*ctx.db, item, combo, ctx.prompter);
}

void EnterClicksButtons::install(QWidget *screen) {
    auto *filter = new EnterClicksButtons(screen);
    for (QPushButton *b : screen->findChildren<QPushButton *>()) b->installEventFilter(filter);
}

bool EnterClicksButtons::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto *b = qobject_cast<QPushButton *>(watched)) {
                b->click();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

EnterToTab *EnterToTab::instance() {
    static EnterToTab *filter = new EnterToTab;
    return filter;
}

void EnterToTab::install(QWidget *w) {
    if (w) w->installEventFilter(instance());
}

void EnterToTab::install(std::initializer_list<QWidget *> widgets) {
    for (QWidget *w : widgets) install(w);
}

bool EnterToTab::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        auto *ke = static_cast<QKeyEvent *>(event);
        if ((ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) &&
            !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            if (auto *w = qobject_cast<QWidget *>(watched)) {
                // An open combo pop-up takes Enter to choose its entry first.
                if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->view() && combo->view()->isVisible())
                    return false;
                QWidget *top = w->window();
                QWidget *next = w->nextInFocusChain();
                // Same as one Tab: the next widget that takes focus by Tab. A widget that
                // hands its focus to another (the text part of a date picker) is no stop
                // of its own: stopping there would leave the focus where it was.
                while (next && next != w) {
                    if (next->isEnabled() && next->isVisibleTo(top) && (next->focusPolicy() & Qt::TabFocus) &&
                        !next->focusProxy() && next->window() == top)
                        break;
                    next = next->nextInFocusChain();
                }
                if (next && next != w) next->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

KeyPreview::KeyPreview(QWidget *screen, Handler handler)
    : QObject(screen), screen_(screen), handler_(std::move(handler)) {
    qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview() { qApp->removeEventFilter(this); }

bool KeyPreview::eventFilter(QObject *watched, QEvent *event) {
    const auto type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || (w != screen_ && !screen_->isAncestorOf(w))) return false;
    // A modal message box above the screen gets its keys untouched.
    if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != screen_ && !screen_->isAncestorOf(modal))
        return false;
    auto *ke = static_cast<QKeyEvent *>(event);
    if (type == QEvent::ShortcutOverride) {
        // Let a line edit not claim keys the screen wants (Del); the KeyPress follows.
        return false;
    }
    return handler_(ke);
}

void setNumericOnly(QLineEdit *box, bool on) {
    if (on) {
        static const QRegularExpression digits(QStringLiteral("[0-9]*"));
        box->setValidator(new QRegularExpressionValidator(digits, box));
    } else {
        box->setValidator(nullptr);
    }
    box->update();
}

namespace {
class ElidingComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent *) override {
        QStylePainter painter(this);
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        painter.drawComplexControl(QStyle::CC_ComboBox, opt);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
        opt.currentText = fontMetrics().elidedText(opt.currentText, Qt::ElideRight, field.width() - 2);
        painter.drawControl(QStyle::CE_ComboBoxLabel, opt);
    }
};
}  // namespace

QComboBox *fixedWidthComboBox(QWidget *parent, int width) {
    auto *combo = new ElidingComboBox(parent);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(8);
    combo->setFixedWidth(width);
    combo->view()->setTextElideMode(Qt::ElideRight);
    return combo;
}

QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

void disableAutoDefault(QDialog *dialog) {
    const auto buttons = dialog->findChildren<QPushButton *>();
    for (QPushButton *b : buttons) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
}

bool runReporting(Prompter &prompter, const std::function<void()> &work) {
    try {
        work();
        return true;
    } catch (const Refusal &r) {
        r.show(prompter);
        return false;
    } catch (const DbError &e) {
        showDbError(prompter, e);
        return false;
    }
}

bool moneyBoxAccepted(Prompter &prompter, QLineEdit *box) {
    if (!Money::tooLarge(box->text())) return true;
    prompter.warning(kMoneyTooLarge, kAppTitle);
    box->setFocus();
    box->selectAll();
    return false;
}

void showDbError(Prompter &prompter, const DbError &error) {
    prompter.plain(error.message());
    if (reportsDamagedFile(error)) prompter.warning(kFileDamaged, kAppTitle);
}

}  // namespace kestavion
