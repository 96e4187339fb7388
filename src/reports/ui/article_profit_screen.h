#pragma once

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace kestavion {

struct AppContext;
class Grid;

// frmProfitByNo: every sale of one article in a date range with its cost and profit,
// under one grand total. Open to every user.
class ArticleProfitScreen : public QDialog {
    Q_OBJECT
public:
    explicit ArticleProfitScreen(AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *txtNo;
    QDateEdit *DTBeginTime, *DTEndTime;
    QPushButton *cmdOk;
    Grid *VSSell;

private:
    void query();
    void sizeColumns();

    AppContext &ctx_;
};

}  // namespace kestavion
