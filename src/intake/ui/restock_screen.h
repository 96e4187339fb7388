#pragma once

#include "intake/goods_intake.h"

#include <QDialog>
#include <QStringList>
#include <memory>

class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestavion {

struct AppContext;
class Grid;
class TypedSearch;

// frmBuyIn: the shop's goods list with a filter, restocking of the selected Goods,
// and the ways to new goods (single and batch), which append to this list.
class RestockScreen : public QDialog {
    Q_OBJECT
public:
    explicit RestockScreen(AppContext &ctx, QWidget *parent = nullptr);
    ~RestockScreen() override;

    // A Goods created by the new-goods or batch screen joins the list.
    void appendGoods(const GoodsRow &row);

    QLineEdit *txtNo;
    QPushButton *cmdNewGoods;
    QPushButton *Command1;
    Grid *VSFlexGrid;
    QGroupBox *Frame1;
    QDateEdit *DT;
    QLineEdit *txtQuantity;
    QLineEdit *txtPrice;
    QPushButton *cmdPutIn;
    QLabel *lbTitle;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadGoodsList();
    // Shows the goods whose article number contains txtNo's text; the first row
    // becomes current.
    void applyFilter();
    void putIn();

    AppContext &ctx_;
    // The filter runs in memory over the goods read once (plus those added since),
    // never over the file.
    std::unique_ptr<TypedSearch> search_;
};

}  // namespace kestavion
