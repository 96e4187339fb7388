#pragma once

#include "foundation/app_context.h"
#include "foundation/database.h"
#include "selling/sale_list.h"

#include <QDialog>
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
class KeyPreview;
class TypedSearch;

// The till: find goods, list pairs, take the payment, check out, print the receipt.
// Driven entirely from the keyboard.
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
    void removeCurrentLine();
    void updateTotals();
    void checkOut();
    void reprint();
    void refreshSellNo();
    void showStockOfListedGoods();
    void tell(bool warningIcon, const QString &text);
    void focusTo(QWidget *w);

    AppContext &ctx_;
    SaleList list_;
    std::unique_ptr<TypedSearch> search_;
    std::unique_ptr<KeyPreview> preview_;
};

}  // namespace kestavion
