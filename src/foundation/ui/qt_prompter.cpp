#include "foundation/ui/qt_prompter.h"

#include <QApplication>
#include <QMessageBox>

namespace kestavion {

namespace {
QWidget *parentWindow() {
    if (QWidget *m = QApplication::activeModalWidget()) return m;
    return QApplication::activeWindow();
}

void show(QMessageBox::Icon icon, const QString &text, const QString &title) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parentWindow());
    box.exec();
}
}  // namespace

void QtPrompter::info(const QString &text, const QString &title) { show(QMessageBox::Information, text, title); }
void QtPrompter::warning(const QString &text, const QString &title) { show(QMessageBox::Warning, text, title); }
void QtPrompter::exclamation(const QString &text, const QString &title) { show(QMessageBox::Warning, text, title); }
void QtPrompter::plain(const QString &text, const QString &title) { show(QMessageBox::NoIcon, text, title); }

bool QtPrompter::question(const QString &text, const QString &title) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parentWindow());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace kestavion
