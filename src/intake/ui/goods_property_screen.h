#pragma once

#include "intake/goods_intake.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kestavion {

struct AppContext;

// frmGoodsProperty: one new Goods of one size and colour, with its first intake and
// lot. Each Goods written is handed to `appendGoods` (the restocking list).
class GoodsPropertyScreen : public QDialog {
    Q_OBJECT
public:
    GoodsPropertyScreen(AppContext &ctx, std::function<void(const GoodsRow &)> appendGoods, QWidget *parent = nullptr);

    QLineEdit *txtNo;
    QComboBox *comName, *comBrand, *comSize, *comColour, *comLeather, *comGrade, *comProductPlace;
    QPushButton *cmdName, *cmdBrand, *cmdSize, *cmdColour, *cmdLeather, *cmdGrade, *cmdProductPlace;
    QLineEdit *txtPrice, *txtQuantity, *txtSellPrice;
    QDateEdit *DT;
    QLineEdit *txtBlock, *txtFloor;
    QPlainTextEdit *txtMemo;
    QPushButton *cmdPutIn, *cmdClear;

private:
    void putIn();
    void clear();

    AppContext &ctx_;
    std::function<void(const GoodsRow &)> appendGoods_;
};

}  // namespace kestavion
