#pragma once

#include "intake/ui/intake_form.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kestavion {

struct AppContext;
class Grid;

// frmbuyInDetail: the shop's intake records with filters and a grand total; delete
// or correct one intake.
class IntakeHistoryScreen : public QDialog {
    Q_OBJECT
public:
    explicit IntakeHistoryScreen(AppContext &ctx, QWidget *parent = nullptr);

    QCheckBox *chkTypeNo;
    QLineEdit *txtNo;
    QCheckBox *chkDate;
    QDateEdit *DTBeginTime;
    QLabel *lbUserNo;
    QDateEdit *DTEndTime;
    QPushButton *cmdQuery, *cmdedit, *cmdDel;
    Grid *VSFlexGrid;

private:
    void query(bool filtered);
    void remove();
    void edit();

    AppContext &ctx_;
};

// The grand total row ("合计", sum of 数量) of an intake list, rebuilt.
void retotalIntakeList(Grid *grid);

// frmedit: corrects one intake of the history's list (delete + a new intake into a
// new Goods); the list is kept in step.
class IntakeEditScreen : public QDialog, public intakeform::GoodsFields {
    Q_OBJECT
public:
    explicit IntakeEditScreen(AppContext &ctx, QWidget *parent = nullptr);

    // Fills the form from the list's selected row and remembers the list.
    void LoadIt(Grid *list);

    // txtNo … txtQuantity: GoodsFields
    QDateEdit *DT;
    QPlainTextEdit *txtMemo;
    QPushButton *cmdOk;

private:
    void save();

    AppContext &ctx_;
    Grid *list_ = nullptr;
    QString recordGuid_;
};

}  // namespace kestavion
