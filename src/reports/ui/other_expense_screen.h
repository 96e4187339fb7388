#pragma once

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace kestavion {

struct AppContext;
class Grid;

// frmOtherOut: enters one expense that is not a purchase of goods.
class OtherExpenseScreen : public QDialog {
    Q_OBJECT
public:
    explicit OtherExpenseScreen(AppContext &ctx, QWidget *parent = nullptr);

    QComboBox *comItem;
    QPushButton *cmdColour;
    QLineEdit *txtAmount;
    QDateEdit *DT;
    QLineEdit *txtMemo;
    QPushButton *cmdQuery;

private:
    void save();

    AppContext &ctx_;
};

// frmOtherOutQuery: the expenses of a date range under their total; one deleted at a
// time, without asking.
class OtherExpenseQueryScreen : public QDialog {
    Q_OBJECT
public:
    explicit OtherExpenseQueryScreen(AppContext &ctx, QWidget *parent = nullptr);

    QDateEdit *DTBeginTime, *DTEndTime;
    QPushButton *cmdQuery, *cmdDel;
    Grid *VSSell;

private:
    void query();
    void remove();
    void dressGrid();
    void retotal();

    AppContext &ctx_;
};

}  // namespace kestavion
