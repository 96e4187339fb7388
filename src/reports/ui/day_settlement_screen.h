#pragma once

#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;

namespace kestavion {

struct AppContext;

// frmDayAmount: the logged-in seller's count of one day, shown and stored.
class DaySettlementScreen : public QDialog {
    Q_OBJECT
public:
    explicit DaySettlementScreen(AppContext &ctx, QWidget *parent = nullptr);

    QDateEdit *DTDate;
    QPushButton *cmdCheckOut;
    QLabel *lbDate, *LbSeller, *lbSellCount, *lbSellMny, *lbBackCount, *lbBackAmount, *lbChangeCount,
        *lbChangeAmount, *lbRecive;
    QLabel *lbTitle;

private:
    void settle();

    AppContext &ctx_;
};

}  // namespace kestavion
