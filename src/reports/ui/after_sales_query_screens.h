#pragma once

#include <QDialog>

class QDateEdit;
class QPushButton;
class QTabWidget;

namespace kestavion {

struct AppContext;
class Grid;

// frmBackChangeQuery: customer exchanges and customer returns of a period, one tab
// each with its own dates; selecting a tab runs its query.
class BackChangeQueryScreen : public QDialog {
    Q_OBJECT
public:
    explicit BackChangeQueryScreen(AppContext &ctx, QWidget *parent = nullptr);

    QTabWidget *SSTab;
    QDateEdit *DTBeginTime, *DTEndTime;  // exchanges
    QDateEdit *DTB, *DTE;                // returns
    QPushButton *cmdQuery_0, *cmdQuery_1;
    Grid *VSChange, *VSBack;

private:
    void query(int index);

    AppContext &ctx_;
};

// frmBackFactoryQuery: problem goods sent back to the factory, with a total per
// article.
class BackFactoryQueryScreen : public QDialog {
    Q_OBJECT
public:
    explicit BackFactoryQueryScreen(AppContext &ctx, QWidget *parent = nullptr);

    QTabWidget *SSTab;
    QDateEdit *DTBeginTime, *DTEndTime;
    QPushButton *cmdQuery;
    Grid *VSFlexGrid;

private:
    void query();

    AppContext &ctx_;
};

// frmBlankOutQuery: voided sales of a period.
class BlankOutQueryScreen : public QDialog {
    Q_OBJECT
public:
    explicit BlankOutQueryScreen(AppContext &ctx, QWidget *parent = nullptr);

    QTabWidget *SSTab;
    QDateEdit *DTBlankOutB, *DTBlankOutE;
    QPushButton *cmdQuery;
    Grid *VSBlankOut;

private:
    void query();

    AppContext &ctx_;
};

}  // namespace kestavion
