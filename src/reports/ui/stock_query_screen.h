#pragma once

#include "foundation/database.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kestavion {

struct AppContext;
class Grid;

// frmStore: the shop's sellable stock (narrowed by article number as the user types,
// or by kind and brand) with totals per article and a grand total, and the problem
// goods waiting to go back to the factory.
class StockQueryScreen : public QDialog {
    Q_OBJECT
public:
    explicit StockQueryScreen(AppContext &ctx, QWidget *parent = nullptr);

    QTabWidget *TabStrip;
    QLineEdit *txtNo;
    QComboBox *comName, *comBrand;
    QPushButton *cmdQuery;
    Grid *VSFlexGrid;
    Grid *VSQuestion;
    QCheckBox *chkZero;
    QPushButton *cmdPrint;
    QLabel *lbTitle;

private:
    enum class Shown { All, Article, KindBrand };
    // Reads the shop's stock once (on opening and when the first tab comes back) and
    // shows it whole.
    void loadAllStock();
    void articleChanged();
    void queryKindBrand();
    void loadProblemStock();
    void zeroSwitched();
    void tabChanged(int index);
    void print();
    // Binds the sellable list, adds the totals and merges columns 1..mergeTo.
    void showSellable(const ResultSet &rows, int mergeTo);

    AppContext &ctx_;
    ResultSet stock_;  // every Goods of the shop, sold-out ones included
    Shown shown_ = Shown::All;
};

}  // namespace kestavion
