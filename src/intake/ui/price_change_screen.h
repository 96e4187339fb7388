#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kestavion {

struct AppContext;
class Grid;

// frmChangePrice: the retail price of one Goods, or of every Goods of an article
// number in this shop.
class PriceChangeScreen : public QDialog {
    Q_OBJECT
public:
    explicit PriceChangeScreen(AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *txtNo;
    Grid *VSFlexGrid;
    QLineEdit *txtNewPrice;
    QPushButton *cmdNewPrice;
    QPushButton *cmdChangePriceBath;
    QLabel *lbInfo_0;
    QLabel *lbInfo_1;

private:
    void showList(const class ResultSet &rs);
    void search();
    void applyNewPrice(bool byTypeNo);

    AppContext &ctx_;
};

}  // namespace kestavion
