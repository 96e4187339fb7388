#include "reports/ui/reports_query_screens.h"

#include "aftersales/ui/after_sales_ui.h"
#include "foundation/app_context.h"
#include "foundation/refusal.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/screen_registry.h"
#include "reports/ui/after_sales_query_screens.h"
#include "reports/ui/sales_query_screen.h"
#include "reports/ui/sales_ranking_screen.h"
#include "reports/ui/stock_query_screen.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <algorithm>

namespace kestavion {

void registerReportQueryScreens(ScreenRegistry &registry) {
    registry.add({QStringLiteral("StoreQuery"), QStringLiteral("StoreQuery"), true, true, screenMaker<StockQueryScreen>()});
    registry.add({QStringLiteral("SellQuery"), QStringLiteral("SellQuery"), true, true, screenMaker<SalesQueryScreen>()});
    registry.add({QStringLiteral("SellGroup"), QString(), true, true, screenMaker<SalesRankingScreen>()});
    registry.add({QStringLiteral("ClientChangeQuery"), QString(), true, true, screenMaker<BackChangeQueryScreen>()});
    registry.add({QStringLiteral("Back"), QString(), true, true, screenMaker<BackFactoryQueryScreen>()});
    registry.add({QStringLiteral("BlankOutQuery"), QString(), true, true, screenMaker<BlankOutQueryScreen>()});
}

namespace reportsui {

QDateEdit *queryDatePicker(QWidget *parent, const char *name, const QDate &date) {
    auto *d = new QDateEdit(date, parent);
    d->setObjectName(QString::fromLatin1(name));
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    return d;
}

QString chosen(const QComboBox *combo) { return combo->currentIndex() > 0 ? combo->currentText() : QString(); }

void wireArticleFilters(QDialog *screen, AppContext &ctx, QLineEdit *txtNo, QComboBox *comName,
                        QComboBox *comBrand, QPushButton *cmdQuery, Grid *grid, QCheckBox *chkZero) {
    fillComboFromDictionaryWithAll(ctx, QStringLiteral("种类"), comName);
    fillComboFromDictionaryWithAll(ctx, QStringLiteral("品牌"), comBrand);
    QWidget::setTabOrder(txtNo, comName);
    QWidget::setTabOrder(comName, comBrand);
    QWidget::setTabOrder(comBrand, cmdQuery);
    QWidget::setTabOrder(cmdQuery, grid);
    QWidget::setTabOrder(grid, chkZero);
    EnterToTab::install({comName, comBrand});
    disableAutoDefault(screen);
    EnterClicksButtons::install(screen);
    QObject::connect(txtNo, &QLineEdit::returnPressed, screen, [grid] {
        if (grid->rows() > 1) grid->setFocus();
    });
}

bool runQuery(AppContext &ctx, const std::function<void()> &work) {
    try {
        work();
        return true;
    } catch (const Refusal &r) {
        r.show(ctx.prompt());
    } catch (const DbError &e) {
        ctx.prompt().plain(e.message());
    }
    return false;
}

void showList(Grid *grid, const ResultSet &rows, double widthTwips) {
    grid->bind(rows);
    fitColumns(grid, widthTwips);
}

// --- ChartTab ----------------------------------------------------------------

ChartTab::ChartTab(QWidget *parent, Prompter &prompter, const QString &pngName)
    : QWidget(parent), prompter_(prompter), pngName_(pngName) {
    chartView = new QChartView(new QChart, this);
    chartView->setObjectName(QStringLiteral("chartView"));
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setFocusPolicy(Qt::NoFocus);
    cmdChartPrint = namedButton(this, "cmdChartPrint", QStringLiteral("打印图表"));
    cmdChartPng = namedButton(this, "cmdChartPng", QStringLiteral("导出图片"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdChartPrint);
    buttons->addWidget(cmdChartPng);
    auto *v = new QVBoxLayout(this);
    v->addWidget(chartView, 1);
    v->addLayout(buttons);
    setChart(new QChart, true);
    connect(cmdChartPrint, &QPushButton::clicked, this, &ChartTab::print);
    connect(cmdChartPng, &QPushButton::clicked, this, &ChartTab::exportPng);
}

QChart *ChartTab::chart() const { return chartView->chart(); }

void ChartTab::setChart(QChart *chart, bool empty) {
    QChart *old = chartView->chart();
    chartView->setChart(chart);
    if (old != chart) delete old;
    cmdChartPrint->setEnabled(!empty);
    cmdChartPng->setEnabled(!empty);
}

namespace {
// Renders the chart laid out at `logical` size into `target` of `painter`, then gives
// the chart back the size of its view.
void renderChart(QChart *chart, QPainter &painter, const QSizeF &logical, const QRectF &target) {
    const QSizeF was = chart->size();
    chart->resize(logical);
    chart->scene()->render(&painter, target, QRectF(chart->pos(), logical));
    chart->resize(was);
}
}  // namespace

bool ChartTab::printTo(QPagedPaintDevice &device) const {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF page(0, 0, device.width(), device.height());
    // Laid out 1100 points wide with the page's proportions, then scaled onto it.
    const QSizeF logical(1100, 1100 * page.height() / std::max(1.0, page.width()));
    renderChart(chart(), painter, logical, page);
    return painter.end();
}

bool ChartTab::savePng(const QString &path) const {
    const QSize size(std::max(1200, chartView->width()), std::max(800, chartView->height()));
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderChart(chart(), painter, QSizeF(size), QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image.save(path, "PNG");
}

void ChartTab::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!printTo(printer)) prompter_.exclamation(QStringLiteral("没有发现打印机！"), kTitleHint);
}

void ChartTab::exportPng() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出图片"), QDir(folder).filePath(pngName_),
                                                      QStringLiteral("PNG 图片 (*.png)"));
    if (path.isEmpty()) return;
    if (!savePng(path)) prompter_.warning(QStringLiteral("图片保存失败，请检查文件夹是否可写！"), kTitleHint);
}

}  // namespace reportsui
}  // namespace kestavion
