#pragma once

#include <QDialog>
#include <QString>
#include <optional>

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
    // Every Goods of the shop (typeNo null) or those of one exact article number.
    // Throws DbError.
    void showList(const std::optional<QString> &typeNo);
    void search();
    void applyNewPrice(bool byTypeNo);

    AppContext &ctx_;
};

}  // namespace kestavion
