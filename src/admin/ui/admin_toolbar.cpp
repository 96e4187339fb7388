#include "admin/ui/admin_toolbar.h"

#include "foundation/database.h"
#include "foundation/prompter.h"
#include "foundation/ui/grid.h"

#include <QAction>

#include <algorithm>

namespace kestavion {

EditToolbar::EditToolbar(QWidget *parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("Toolbar"));
    setMovable(false);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    struct Button {
        const char *caption, *key, *shortcut;
    };
    static const Button kButtons[] = {{"新 增", "Add", "Alt+A"},
                                      {"编 辑", "Edit", "Alt+E"},
                                      {"删 除", "Del", "Alt+D"},
                                      {"取 消", "Cancel", "Alt+C"},
                                      {"保 存", "Save", "Alt+S"}};
    bool first = true;
    for (const Button &b : kButtons) {
        if (!first) addSeparator();
        first = false;
        const QString key = QString::fromLatin1(b.key);
        QAction *a = addAction(QString::fromUtf8(b.caption));
        a->setObjectName(QStringLiteral("Toolbar_") + key);
        a->setData(key);
        a->setShortcut(QKeySequence(QString::fromLatin1(b.shortcut)));
        a->setShortcutContext(Qt::WindowShortcut);
        a->setToolTip(QString::fromUtf8(b.caption) + QStringLiteral(" (") + QString::fromLatin1(b.shortcut) +
                      QLatin1Char(')'));
        buttons_.insert(key, a);
        connect(a, &QAction::triggered, this, [this, key] { emit clicked(key); });
    }
    setEditing(false);
}

void EditToolbar::setEditing(bool editing) {
    for (const char *k : {"Add", "Edit", "Del"}) buttons_.value(QString::fromLatin1(k))->setEnabled(!editing);
    for (const char *k : {"Cancel", "Save"}) buttons_.value(QString::fromLatin1(k))->setEnabled(editing);
}

void showReadFailure(Prompter &prompter, const DbError &error) {
    prompter.plain(error.message());
    prompter.warning(kReadFailed, kTitleHint);
}

void dropAddedRow(Grid *grid) {
    grid->removeItem(grid->rows() - 1);
    grid->setRow(grid->rows() > 1 ? grid->rows() - 1 : 0);
}

void selectAfterRemoval(Grid *grid, int row) {
    const int rows = grid->rows();
    grid->setRow(rows > 1 ? std::min(row, rows - 1) : 0);
}

}  // namespace kestavion
