#pragma once

#include "intake/goods_intake.h"
#include "intake/ui/intake_form.h"

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
class GoodsPropertyScreen : public QDialog, public intakeform::GoodsFields {
    Q_OBJECT
public:
    GoodsPropertyScreen(AppContext &ctx, std::function<void(const GoodsRow &)> appendGoods, QWidget *parent = nullptr);

    // txtNo … txtQuantity: GoodsFields
    QLineEdit *txtSellPrice;
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
