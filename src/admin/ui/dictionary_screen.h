#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kestavion {

struct AppContext;

// frmDataDictionary: one lookup list (DataDictionary item) — shows, adds, deletes.
class DictionaryScreen : public QDialog {
    Q_OBJECT
public:
    DictionaryScreen(AppContext &ctx, QWidget *parent = nullptr);

    // Loads the item's list and puts the item into the caption.
    void LoadIt(const QString &item);
    const QString &item() const { return item_; }

    QListWidget *List;
    QLineEdit *txtItem;
    QPushButton *cmdAdd;
    QPushButton *cmdDel;
    QLabel *lbInfo;

private:
    void add();
    void remove();
    bool listContains(const QString &text) const;

    AppContext &ctx_;
    QString item_;
};

// What a "…" button does: the dictionary screen for `item`, modal over `parent`;
// afterwards `combo` (if any) is refilled from the item and shows its first entry.
void openDictionaryFor(AppContext &ctx, QWidget *parent, const QString &item, QComboBox *combo);

}  // namespace kestavion
