#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kestavion {

struct AppContext;

// "系统设置": the shop's sales rules (frmSellRole).
class SalesRulesScreen : public QDialog {
    Q_OBJECT
public:
    SalesRulesScreen(AppContext &ctx, QWidget *parent = nullptr);

    QTabWidget *SSTab;
    QGroupBox *Frame1;
    QRadioButton *OptA, *OptB;
    QLineEdit *txtBackdays, *txtChangeDays;
    QCheckBox *chkBackAbate, *chkBackSpecial, *chkChangeNotToBack;
    QCheckBox *chkChangeAbate, *chkChangeSpecial, *chkSameType, *chkHightPrice, *chkIsMany;
    QGroupBox *Frame2;
    QRadioButton *optBig, *optSmall;
    QCheckBox *chkIsPrint;
    QPushButton *cmdSetting;

private:
    void showRules();
    void saveSellRole();
    AppContext &ctx_;
};

}  // namespace kestavion
