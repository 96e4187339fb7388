#pragma once

#include "foundation/app_context.h"
#include "foundation/database.h"
#include "selling/sale_list.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QRadioButton;
class QKeyEvent;

namespace kestavion {

class Grid;
class KeptSale;
class KeyPreview;
class TypedSearch;

// The till: find goods, list pairs, take the payment, check out, print the receipt.
// Driven entirely from the keyboard. The list is kept in the database as it is built;
// a list left by a crash is offered back when the same seller opens this till again.
class SaleScreen : public QDialog {
    Q_OBJECT
public:
    explicit SaleScreen(AppContext &ctx, QWidget *parent = nullptr);
    ~SaleScreen() override;

    const SaleList &saleList() const { return list_; }

    QLineEdit *txtNo;
    Grid *VSFlexGrid;
    QLineEdit *txtPrice;
    QLineEdit *txtQuatity;
    QRadioButton *OptAbate;
    QLineEdit *txtAbate;
    QRadioButton *OptChangePrice;
    QLineEdit *txtChangePrice;
    QPushButton *cmdAdd;
    Grid *VSSell;
    QLabel *lbAmount;
    QLineEdit *txtReciveAmout;
    QLabel *lb;
    QPushButton *cmdCheckOut;
    QLabel *lbOpt;
    QLabel *lbNo;
    QLabel *lbKeys;
    QLabel *lbTitle;
    QMenu *Main;
    QAction *Cancel;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString lastSellNo_;  // the number of this till's last committed sale (F8 reprints it)
    void buildControls();
    void loadGoodsGrid();
    void initSellGrid();
    void search();
    void showCurrentPrice();
    bool hasGoodsRow() const;
    SaleGoods currentGoods() const;

    bool previewKey(QKeyEvent *e);
    void quantityEntered();
    void addWithDiscount();
    void addWithSpecialPrice();
    // Quantity checks shared by both ways of adding; false after a refusal.
    bool quantityAccepted(bool warningIcon);
    void appendLines(int from);
    void keepAdded(int from);
    void removeCurrentLine();
    void updateTotals();
    void checkOut();
    void reprint();
    // Asks whether to restore the list kept from an earlier run (once, on opening).
    void offerKeptList();
    // Runs one write of the kept list. A failure never stops the sale: the seller is
    // told once, and the next write keeps the whole list anew.
    void keep(const std::function<void(KeptSale &)> &write);
    void refreshSellNo();
    void showStockOfListedGoods();
    void tell(bool warningIcon, const QString &text);
    void focusTo(QWidget *w);

    AppContext &ctx_;
    SaleList list_;
    bool keptListFound_ = false;  // a list was kept when the till opened
    bool keptBroken_ = false;     // the last write of the kept list failed
    bool keptFailureTold_ = false;
    std::unique_ptr<TypedSearch> search_;
    std::unique_ptr<KeyPreview> preview_;
};

}  // namespace kestavion
