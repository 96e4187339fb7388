#pragma once

#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;
class QTabWidget;

namespace kestavion {

struct AppContext;

// frmProfit: intake, sales, gross and net profit, factory returns and stock of a
// date range on one page.
class ProfitScreen : public QDialog {
    Q_OBJECT
public:
    explicit ProfitScreen(AppContext &ctx, QWidget *parent = nullptr);

    QDateEdit *DTBeginTime, *DTEndTime;
    QPushButton *cmdQuery;
    QLabel *lbInQuantity, *lbInAmount, *lbSellQuantity, *lbSellAmount, *lbBackQuantity, *lbBackAmount,
        *lbStoreQuantity, *lbQuestionQuantity, *lbStorePrice, *lbProfit, *lbOtherAmount, *lbProfitEx;

private:
    void query();

    AppContext &ctx_;
};

}  // namespace kestavion
