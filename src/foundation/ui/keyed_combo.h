#pragma once

#include <QComboBox>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace kestavion {

// A drop-down list whose entries each carry a hidden key, so a screen shows captions
// and works with keys (the users screen's role selector). Filled from lists, so a
// caption may hold any character, a comma included.
class KeyedCombo {
public:
    KeyedCombo() = default;

    // Binds `combo` and clears it; `first` (when not empty) becomes the first entry
    // and its own key; then every (key, caption) pair in order.
    void Initial(QComboBox *combo, const QList<QPair<QString, QString>> &entries, const QString &first = {});

    int ListIndex() const;  // -1 when nothing is selected
    void setListIndex(int index);
    int ListCount() const;
    void AddItem(const QString &key, const QString &caption);
    QString Caption() const;  // empty when nothing is selected
    QString No() const;       // the selected entry's key; empty when nothing is selected
    // Selects the first entry with that key; an empty or unknown key selects nothing.
    void setNo(const QString &key);
    QComboBox *Combox() const { return combo_; }

private:
    int FindNo(const QString &key) const;
    QComboBox *combo_ = nullptr;
    QStringList keys_;
};

// A combo box that says when its list is about to drop down, so the screen can refill
// it first.
class DropDownCombo : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;

signals:
    void aboutToDropDown();
};

}  // namespace kestavion
