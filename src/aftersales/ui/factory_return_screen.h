#pragma once

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kestavion {

struct AppContext;
class Grid;

// "厂家退货": problem stock sent back to the factory (frmFactoryBack).
class FactoryReturnScreen : public QDialog {
    Q_OBJECT
public:
    FactoryReturnScreen(AppContext &ctx, QWidget *parent = nullptr);

    QTabWidget *SSTab1;
    Grid *VSFlexGrid;
    QPushButton *cmdAll;
    QDateEdit *DT;
    QLineEdit *txtAmount;
    QPushButton *cmdRegist;
    QLabel *lbTitle;

private:
    void loadProblemStock();
    void calcBackAmount();
    void registReturn();
    int tickCol() const;
    AppContext &ctx_;
};

}  // namespace kestavion
