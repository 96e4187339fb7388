#pragma once

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

// A replacement chosen for the current sold row (built by the replacement dialog).
struct ChosenReplacement {
    QString storeGuid;
    QString typeNo, name, brand, size, colour, leather, grade, place;
    QString price;   // retail price as the goods list shows it
    QString abate;   // "全", a discount figure or "特价"
    qint64 amount = 0;
};

// "客户调换": sold pairs swapped for other goods (frmClientBackChange).
class ExchangeScreen : public QDialog {
    Q_OBJECT
public:
    ExchangeScreen(AppContext &ctx, QWidget *parent = nullptr);

    // Removes every data row of a grid, from the last row up.
    static void RemoveVsRowsAll(Grid *grid);

    // --- used by the replacement dialog ---------------------------------------
    // Replacements of these goods already in the order.
    int pendingFor(const QString &storeGuid) const;
    // Pairs the current sold row with the replacement: marks the row, copies the
    // reason, adds the replacement row and updates the three figures.
    void addReplacement(const ChosenReplacement &r);
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
    void setFigures(double amount, double have);
    AppContext &ctx_;
};

// The paired mark on a sold row: its row-header cell drawn red.
inline constexpr int kPairedColour = 255;

}  // namespace kestavion
