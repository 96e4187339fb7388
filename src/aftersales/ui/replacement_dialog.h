#pragma once

#include "aftersales/exchange_order.h"
#include "foundation/database.h"

#include <QDialog>
#include <memory>
#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kestavion {

struct AppContext;
class Grid;
class TypedSearch;

// "调换": the replacement for one sold row of an exchange order (frmChange). It reads
// the order (pairs of a goods already spoken for) and returns its choice; the
// exchange screen adds it to the order.
class ReplacementDialog : public QDialog {
    Q_OBJECT
public:
    ReplacementDialog(AppContext &ctx, const ExchangeOrder &order, QWidget *parent = nullptr);
    ~ReplacementDialog() override;

    // The sold row the replacement is for.
    void LoadIt(const QString &sellGuid, const QString &sellNo, const QString &typeNo, Money price);
    // The goods and price confirmed with cmdOk (the dialog is then accepted).
    const std::optional<ExchangeReplacement> &chosen() const { return chosen_; }

    QLineEdit *txtNo;
    Grid *VSFlexGrid;
    QRadioButton *OptAbate, *OptChangePrice;
    QLineEdit *txtAbate, *txtChangePrice, *txtQuatity;
    QComboBox *comAbate;
    QPushButton *cmdOk;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void filter();
    void confirm();
    bool checkAbate();
    bool checkSpecialPrice(bool stockToo);
    int availableInCurrentRow() const;
    Money retailOf(int row) const;
    AppContext &ctx_;
    const ExchangeOrder &order_;
    std::unique_ptr<TypedSearch> search_;
    QString sellGuid_, sellNo_, typeNo_;
    Money price_;
    std::optional<ExchangeReplacement> chosen_;
};

}  // namespace kestavion
