#pragma once

#include "reports/size_run_query.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestavion {

struct AppContext;
class Grid;

// The shop's stock as size runs: one row per article and colour, one column per
// size, broken runs marked, a grand total on top.
class SizeRunScreen : public QDialog {
    Q_OBJECT
public:
    explicit SizeRunScreen(AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *txtNo;
    QComboBox *comName, *comBrand;
    QPushButton *cmdQuery;
    Grid *VSFlexGrid;
    QCheckBox *chkZero, *chkBroken;
    QPushButton *cmdPrint;
    QLabel *lbCount, *lbTitle;

    // Back colour (BGR) of a broken size's cell.
    static constexpr int kBrokenBgr = 0xB4B4FF;

private:
    // Reads the runs of the chosen kind and brand, then shows them filtered.
    void query();
    // Shows the runs read last through the article box and the two switches.
    void showRuns();
    void print();

    AppContext &ctx_;
    SizeRunTable runs_;
};

}  // namespace kestavion
