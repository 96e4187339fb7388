#pragma once

#include "reports/sales_query.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTabWidget;

namespace kestavion {

struct AppContext;
class Grid;
namespace reportsui { class ChartTab; }

// frmSellQuery: the sale rows of a period with totals per article and overall, the
// count and the money taken; a chart tab shows pairs and money per day.
class SalesQueryScreen : public QDialog {
    Q_OBJECT
public:
    explicit SalesQueryScreen(AppContext &ctx, QWidget *parent = nullptr);

    QTabWidget *SSTab;
    QDateEdit *DTBeginTime, *DTEndTime;
    QComboBox *comName, *comBrand;
    QPushButton *cmdQuery, *cmdPrint;
    Grid *VSSell;
    QLabel *lbCount, *lbAmount;
    reportsui::ChartTab *chartTab;

private:
    void query();
    void showChart(const std::vector<DaySales> &days);
    void print();

    AppContext &ctx_;
};

}  // namespace kestavion
