#pragma once

#include "aftersales/exchange_order.h"
#include "aftersales/ui/after_sales_ui.h"

#include <QDialog>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;

namespace kestavion {

struct AppContext;
class Grid;

// "客户调换": sold pairs swapped for other goods (frmClientBackChange).
class ExchangeScreen : public QDialog {
    Q_OBJECT
public:
    ExchangeScreen(AppContext &ctx, QWidget *parent = nullptr);

    // Removes every data row of a grid, from the last row up.
    static void RemoveVsRowsAll(Grid *grid);

    // The order being put together; the grids and figures show it.
    const ExchangeOrder &order() const { return order_; }
    // The sold row `soldRow` is in the order.
    bool isPaired(int soldRow) const;

    SaleSearchControls search;
    Grid *VSFlexGrid;
    QLabel *lbTip;
    QComboBox *comResion;
    QPushButton *cmdLeather;
    QPushButton *cmdChange;
    Grid *VSChange;
    QMenu *Main;
    QAction *Del;
    QLabel *lbAmount, *lbHave, *lbBackAdd;
    QPushButton *cmdOk;
    QLabel *lbTitle;

private:
    void initChangeGrid();
    void query();
    void chooseReplacement();
    void removeReplacement();
    void commit();
    // Shows the order: its lines in VSChange, the paired mark and reason on the sold
    // rows, and the three figures.
    void showOrder();
    AppContext &ctx_;
    ExchangeOrder order_;
};

// The paired mark on a sold row: its row-header cell drawn red.
inline constexpr int kPairedColour = 255;

}  // namespace kestavion
