#pragma once

#include "intake/batch_matrix.h"
#include "intake/goods_intake.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace kestavion {

struct AppContext;
class Grid;

// frmbatchbuyIn: one article in many colours and sizes; each filled cell of the
// colour × size grid becomes one new Goods. The whole batch is one transaction; its
// Goods are handed to `appendGoods` after the commit.
class BatchIntakeScreen : public QDialog {
    Q_OBJECT
public:
    BatchIntakeScreen(AppContext &ctx, std::function<void(const GoodsRow &)> appendGoods, QWidget *parent = nullptr);

    QLineEdit *txtNo;
    QComboBox *comName, *comBrand, *comLeather, *comProductPlace, *comGrade;
    QPushButton *cmdName, *cmdBrand, *cmdLeather, *cmdProductPlace, *cmdGrade;
    QLineEdit *txtPrice, *txtSellPrice;
    QDateEdit *DT;
    QLineEdit *txtBlock, *txtFloor, *txtMemo;
    QListWidget *listCoulor, *listSize;
    QLineEdit *txtColour, *txtSize;
    Grid *VSFlexGrid;
    QPushButton *cmdInStore, *cmdClear;
    QComboBox *comColour, *comSize;
    QLabel *lbTitle;

private:
    void fillCheckList(QComboBox *source, QListWidget *list);
    void ticked(QListWidget *list, QListWidgetItem *item);
    void render();
    void renderTotals();
    void cellEdited(int row, int col);
    void moveToNextCell();
    void goToCell(int row, int col);
    void addListEntry(const QString &item, QLineEdit *box, QListWidget *list);
    void saveBatch();
    void clear();

    AppContext &ctx_;
    std::function<void(const GoodsRow &)> appendGoods_;
    BatchMatrix matrix_;
    bool rendering_ = false;
};

}  // namespace kestavion
