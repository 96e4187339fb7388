#pragma once

#include <QHash>
#include <QString>
#include <QToolBar>

class QAction;

namespace kestavion {

class DbError;
class Grid;
class Prompter;

// The roles and users screens' toolbar: 新 增, 编 辑, 删 除, 取 消, 保 存 (keys Add,
// Edit, Del, Cancel, Save) with separators, each also on an Alt key (A, E, D, C, S)
// so the screens work from the keyboard.
class EditToolbar : public QToolBar {
    Q_OBJECT
public:
    explicit EditToolbar(QWidget *parent);
    QAction *button(const QString &key) const { return buttons_.value(key); }
    // Browse: Add, Edit, Del on, Cancel and Save off; editing: the other way round.
    void setEditing(bool editing);

signals:
    void clicked(const QString &key);

private:
    QHash<QString, QAction *> buttons_;
};

// The roles and users screens' report of an engine failure: the engine's text, then
// the warning that the database could not be read.
void showReadFailure(Prompter &prompter, const DbError &error);
// Cancel after Add: the blank row Add appended goes and the new last row is current.
void dropAddedRow(Grid *grid);
// After row `row` was removed: the row that moved up into its place, or the new last row.
void selectAfterRemoval(Grid *grid, int row);

}  // namespace kestavion
