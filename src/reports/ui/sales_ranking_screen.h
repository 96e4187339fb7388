#pragma once

#include "foundation/database.h"

#include <QDialog>

class QDateEdit;
class QPushButton;
class QTabWidget;

namespace kestavion {

struct AppContext;
class Grid;
namespace reportsui { class ChartTab; }

// frmSellGroup: Goods ranked by pairs sold in a period; a chart tab shows the best
// twenty as bars.
class SalesRankingScreen : public QDialog {
    Q_OBJECT
public:
    explicit SalesRankingScreen(AppContext &ctx, QWidget *parent = nullptr);

    QTabWidget *SSTab;
    QDateEdit *DTBeginTime, *DTEndTime;
    QPushButton *cmdQuery;
    Grid *VSSell;
    reportsui::ChartTab *chartTab;

    // The articles the chart shows, best first.
    static constexpr int kChartTop = 20;

private:
    void query();
    void showChart(const ResultSet &ranking);

    AppContext &ctx_;
};

}  // namespace kestavion
