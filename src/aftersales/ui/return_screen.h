#pragma once

#include "aftersales/ui/after_sales_ui.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kestavion {

struct AppContext;
class Grid;

// "客户退货": one sold pair comes back (frmClientBack).
class ReturnScreen : public QDialog {
    Q_OBJECT
public:
    ReturnScreen(AppContext &ctx, QWidget *parent = nullptr);

    QTabWidget *SSTab;
    SaleSearchControls search;
    Grid *VSFlexGrid;
    QLabel *lbTip;
    QGroupBox *Frame1;
    QRadioButton *Opt, *OptQuestion;
    QComboBox *comResion;
    QPushButton *cmdLeather;
    QLabel *lb;
    QPushButton *cmdOk;
    QLabel *lbTitle;

private:
    void query();
    void returnCurrent();
    void showAmount();
    AppContext &ctx_;
};

}  // namespace kestavion
