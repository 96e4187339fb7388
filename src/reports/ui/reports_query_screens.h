#pragma once

#include "foundation/database.h"

#include <QString>
#include <QWidget>
#include <functional>

class QChart;
class QChartView;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDialog;
class QLineEdit;
class QLabel;
class QPagedPaintDevice;
class QPushButton;

namespace kestavion {

class ScreenRegistry;
struct AppContext;
class Grid;
class Prompter;

// The stock, sales, ranking and after-sales query screens.
void registerReportQueryScreens(ScreenRegistry &registry);

namespace reportsui {

// A date picker in yyyy-MM-dd with the calendar pop-up, set to `date`.
QDateEdit *queryDatePicker(QWidget *parent, const char *name, const QDate &date);

// The kind or brand a filter list names; empty for 全部, its first entry.
QString chosen(const QComboBox *combo);

// The article filters the stock and size-run queries share: the kind and brand lists
// filled with 全部 first; Tab from the article box through kind, brand, the query
// button, the list and the zero-stock box; Enter in the two lists moves on, Enter on a
// button clicks it, and Enter in the article box (a scanner ends with it) goes to the
// list when it has rows.
void wireArticleFilters(QDialog *screen, AppContext &ctx, QLineEdit *txtNo, QComboBox *comName,
                        QComboBox *comBrand, QPushButton *cmdQuery, Grid *grid, QCheckBox *chkZero);

// Runs a query; a rule's refusal shows its own message, an engine failure its text
// in a plain box. False when either happened (the caller then empties its list).
bool runQuery(AppContext &ctx, const std::function<void()> &work);

// Binds a list and sizes its columns to `widthTwips`, wider where a heading, a date or
// a reason needs more room.
void showList(Grid *grid, const ResultSet &rows, double widthTwips);

// A chart beside a list: the chart, a print button and a picture export. The screen
// fills the chart; the buttons work on whatever it shows.
class ChartTab : public QWidget {
    Q_OBJECT
public:
    // `pngName`: the file name the export offers ("销售排行.png").
    ChartTab(QWidget *parent, Prompter &prompter, const QString &pngName);

    QChart *chart() const;
    QChartView *view() const { return chartView; }
    // Replaces the chart (the old one is deleted); `empty` greys the buttons out.
    void setChart(QChart *chart, bool empty);

    // Paints the chart onto one page of `device`, scaled to fit with its proportions
    // kept. False when the painter cannot begin.
    bool printTo(QPagedPaintDevice &device) const;
    // Writes the chart as a PNG picture of at least 1200 × 800 pixels. False when the
    // file cannot be written.
    bool savePng(const QString &path) const;

    QChartView *chartView;
    QPushButton *cmdChartPrint;
    QPushButton *cmdChartPng;

private:
    void print();
    void exportPng();

    Prompter &prompter_;
    QString pngName_;
};

}  // namespace reportsui
}  // namespace kestavion
