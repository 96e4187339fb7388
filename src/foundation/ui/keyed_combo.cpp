#include "foundation/ui/keyed_combo.h"

namespace kestavion {

void KeyedCombo::Initial(QComboBox *combo, const QList<QPair<QString, QString>> &entries, const QString &first) {
    combo_ = combo;
    keys_.clear();
    if (!combo_) return;
    combo_->clear();
    if (!first.isEmpty()) AddItem(first, first);
    for (const auto &[key, caption] : entries) AddItem(key, caption);
    combo_->setCurrentIndex(-1);
}

int KeyedCombo::ListIndex() const { return combo_ ? combo_->currentIndex() : -1; }

void KeyedCombo::setListIndex(int index) {
    if (combo_) combo_->setCurrentIndex(index);
}

int KeyedCombo::ListCount() const { return combo_ ? combo_->count() : 0; }

void KeyedCombo::AddItem(const QString &key, const QString &caption) {
    if (!combo_) return;
    combo_->addItem(caption);
    keys_.append(key);
}

QString KeyedCombo::Caption() const { return ListIndex() >= 0 ? combo_->currentText() : QString(); }

QString KeyedCombo::No() const {
    const int i = ListIndex();
    return i >= 0 && i < keys_.size() ? keys_.at(i) : QString();
}

int KeyedCombo::FindNo(const QString &key) const { return key.isEmpty() ? -1 : keys_.indexOf(key); }

void KeyedCombo::setNo(const QString &key) { setListIndex(FindNo(key)); }

void DropDownCombo::showPopup() {
    emit aboutToDropDown();
    QComboBox::showPopup();
}

}  // namespace kestavion
