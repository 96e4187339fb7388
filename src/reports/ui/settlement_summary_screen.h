#pragma once

#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;
class QTabWidget;

namespace kestavion {

struct AppContext;
class Grid;

// frmAmountTotal: the stored daily settlements of a date range under one total row.
class SettlementSummaryScreen : public QDialog {
    Q_OBJECT
public:
    explicit SettlementSummaryScreen(AppContext &ctx, QWidget *parent = nullptr);

    QTabWidget *SSTab;
    QDateEdit *DTBeginTime, *DTEndTime;
    QPushButton *cmdQuery;
    Grid *VSAmountTotal;
    QLabel *lbTitle;

private:
    void query();

    AppContext &ctx_;
};

}  // namespace kestavion
