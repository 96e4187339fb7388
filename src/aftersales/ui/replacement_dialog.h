#pragma once

#include "foundation/database.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kestavion {

struct AppContext;
class ExchangeScreen;
class Grid;

// "调换": the replacement for one sold row of an exchange order (frmChange).
class ReplacementDialog : public QDialog {
    Q_OBJECT
public:
    ReplacementDialog(AppContext &ctx, ExchangeScreen *order, QWidget *parent = nullptr);

    // The sold row the replacement is for.
    void LoadIt(const QString &sellGuid, const QString &sellNo, const QString &typeNo, double price);

    QLineEdit *txtNo;
    Grid *VSFlexGrid;
    QRadioButton *OptAbate, *OptChangePrice;
    QLineEdit *txtAbate, *txtChangePrice, *txtQuatity;
    QComboBox *comAbate;
    QPushButton *cmdOk;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void filter();
    void confirm();
    bool checkAbate();
    bool checkSpecialPrice(bool stockToo);
    int availableInCurrentRow() const;
    AppContext &ctx_;
    ExchangeScreen *order_;
    ResultSet goods_;
    QString sellGuid_, sellNo_, typeNo_;
    double price_ = 0;
};

}  // namespace kestavion
