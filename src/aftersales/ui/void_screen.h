#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kestavion {

struct AppContext;
class Grid;

// "销售作废": a sale row entered in error is cancelled (frmBlankout).
class VoidScreen : public QDialog {
    Q_OBJECT
public:
    VoidScreen(AppContext &ctx, QWidget *parent = nullptr);

    QTabWidget *SSTab;
    QLineEdit *txtSellNo;
    class Grid *VSFlexGrid;
    QLabel *lbTip;
    QComboBox *comResion;
    QPushButton *cmdLeather;
    QPushButton *cmdOk;
    QLabel *lbTitle;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void lookUp();
    void voidCurrent();
    AppContext &ctx_;
};

}  // namespace kestavion
