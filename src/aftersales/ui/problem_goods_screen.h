#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestavion {

struct AppContext;
class Grid;

// "问题鞋处理": faulty pairs moved from normal stock into problem stock (frmQuestion).
class ProblemGoodsScreen : public QDialog {
    Q_OBJECT
public:
    ProblemGoodsScreen(AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *txtNo;
    Grid *VSFlexGrid;
    QLineEdit *txtQuatity;
    QComboBox *comResion;
    QPushButton *cmdLeather;
    QPushButton *cmdAddQuestion;
    Grid *VSQuestion;
    QPushButton *cmdOk;
    QLabel *lbTitle;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void initQuestionGrid();
    void dressGoodsGrid();
    void searchGoods();
    // The typed quantity when every check passes (messages shown otherwise).
    bool checkQuantity(qint64 *quantity);
    void addLine();
    void confirm();
    AppContext &ctx_;
};

}  // namespace kestavion
