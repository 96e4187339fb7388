#include "printing/ui/print_screen.h"

#include "foundation/app_context.h"
#include "foundation/database.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "printing/grid_report.h"
#include "printing/ui/report_renderer.h"
#include "printing/xlsx_export.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

namespace kestavion {

namespace {

const QString kDefaultTitle = QStringLiteral("鞋店数据报表\n");
const QString kTotalCaption = QStringLiteral("合计");
constexpr int kRecordColumnTwips = 420;
constexpr int kPreviewPagesWithoutAsking = 300;

// The hourglass while a report is built or written.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// The folder the last file went to in this run (the documents folder at first).
QString &lastFolder() {
    static QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder;
}

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption, bool checked) {
    auto *c = new QCheckBox(caption, parent);
    c->setObjectName(QLatin1String(name));
    c->setChecked(checked);
    return c;
}

}  // namespace

void openPrintScreen(AppContext &ctx, const Grid &source, QWidget *parent) {
    GridSnapshot grid = source.snapshot();
    // The query screens' grand total is their first data row.
    const bool isTotal = !grid.rows.empty() && grid.rows.front().isTotal;
    PrintScreen screen(ctx, parent);
    screen.LoadIt(grid, isTotal);
    screen.exec();
}

PrintScreen::PrintScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("打印"));

    auto *side = new QWidget(this);
    auto *lbField = new QLabel(QStringLiteral("————可打印字段————"), side);
    lbField->setAlignment(Qt::AlignCenter);
    listField = new QListWidget(side);
    listField->setObjectName(QStringLiteral("listField"));
    chkIsTableHead = checkBox(side, "chkIsTableHead", QStringLiteral("是否打印表头"), true);
    txtTable = new QPlainTextEdit(kDefaultTitle, side);
    txtTable->setObjectName(QStringLiteral("txtTable"));
    txtTable->setTabChangesFocus(true);
    txtTable->setFixedHeight(txtTable->fontMetrics().lineSpacing() * 3 + 12);
    chkisTotal = checkBox(side, "chkisTotal", QStringLiteral("是否打印合计行"), true);
    chkRecordIndex = checkBox(side, "chkRecordIndex", QStringLiteral("是否打印记录编号"), false);
    chkIsSwag = checkBox(side, "chkIsSwag", QStringLiteral("是否打印网格"), true);
    auto *frame = new QGroupBox(QStringLiteral("打印方向"), side);
    Opt_0 = new QRadioButton(QStringLiteral("横向"), frame);
    Opt_0->setObjectName(QStringLiteral("Opt_0"));
    Opt_1 = new QRadioButton(QStringLiteral("纵向"), frame);
    Opt_1->setObjectName(QStringLiteral("Opt_1"));
    Opt_1->setChecked(true);
    auto *frameLayout = new QHBoxLayout(frame);
    frameLayout->addWidget(Opt_0);
    frameLayout->addWidget(Opt_1);
    comAutoSize = namedButton(side, "comAutoSize", QStringLiteral("自动尺寸"));
    cmdPreview = namedButton(side, "cmdPreview", QStringLiteral("打印预览"));
    cmdExcel = namedButton(side, "cmdExcel", QStringLiteral("导出Excel"));
    cmdPdf = namedButton(side, "cmdPdf", QStringLiteral("导出PDF"));

    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(lbField);
    sideLayout->addWidget(listField, 1);
    sideLayout->addWidget(chkIsTableHead);
    sideLayout->addWidget(txtTable);
    sideLayout->addWidget(chkisTotal);
    sideLayout->addWidget(chkRecordIndex);
    sideLayout->addWidget(chkIsSwag);
    sideLayout->addWidget(frame);
    for (QPushButton *b : {comAutoSize, cmdPreview, cmdExcel, cmdPdf}) sideLayout->addWidget(b);
    side->setFixedWidth(220);

    // The preview with its own small tool row; printing is done from here.
    auto *previewArea = new QWidget(this);
    auto *lbPreview = new QLabel(
        QStringLiteral("————————————————————————打 印 预 览 区——————————————————————————"), previewArea);
    lbPreview->setAlignment(Qt::AlignCenter);
    previewPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    arv = new QPrintPreviewWidget(previewPrinter_.get(), previewArea);
    arv->setObjectName(QStringLiteral("arv"));
    auto *tools = new QHBoxLayout;
    auto *cmdZoomIn = namedButton(previewArea, "cmdZoomIn", QStringLiteral("放大"));
    auto *cmdZoomOut = namedButton(previewArea, "cmdZoomOut", QStringLiteral("缩小"));
    auto *cmdFitWidth = namedButton(previewArea, "cmdFitWidth", QStringLiteral("适合宽度"));
    auto *cmdWholePage = namedButton(previewArea, "cmdWholePage", QStringLiteral("整页"));
    auto *cmdPrevPage = namedButton(previewArea, "cmdPrevPage", QStringLiteral("上一页"));
    auto *cmdNextPage = namedButton(previewArea, "cmdNextPage", QStringLiteral("下一页"));
    lbPage = new QLabel(previewArea);
    lbPage->setObjectName(QStringLiteral("lbPage"));
    cmdPrint = namedButton(previewArea, "cmdPrint", QStringLiteral("打印(&P)"));
    cmdPrint->setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{cmdZoomIn, cmdZoomOut, cmdFitWidth, cmdWholePage, cmdPrevPage,
                                                       cmdNextPage, lbPage})
        tools->addWidget(w);
    tools->addStretch();
    tools->addWidget(cmdPrint);
    auto *previewLayout = new QVBoxLayout(previewArea);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->addWidget(lbPreview);
    previewLayout->addLayout(tools);
    previewLayout->addWidget(arv, 1);

    VSFlexGrid = new Grid(this);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(previewArea);
    split->addWidget(VSFlexGrid);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);

    auto *top = new QHBoxLayout(this);
    top->addWidget(side);
    top->addWidget(split, 1);
    resize(1180, 760);
    disableAutoDefault(this);
    EnterClicksButtons::install(this);

    askSavePath = [this](const QString &suggested, const QString &filter) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("保存"), suggested, filter);
    };
    openFile = [](const QString &path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };

    connect(listField, &QListWidget::itemChanged, this, &PrintScreen::fieldToggled);
    connect(chkIsTableHead, &QCheckBox::toggled, this, [this](bool on) {
        txtTable->setEnabled(on);
        if (!on) txtTable->clear();
    });
    connect(chkisTotal, &QCheckBox::toggled, this, &PrintScreen::totalToggled);
    connect(comAutoSize, &QPushButton::clicked, this, [this] { VSFlexGrid->autoSize(1, VSFlexGrid->cols() - 1); });
    connect(cmdPreview, &QPushButton::clicked, this, &PrintScreen::preview);
    connect(cmdExcel, &QPushButton::clicked, this, &PrintScreen::exportXlsx);
    connect(cmdPdf, &QPushButton::clicked, this, &PrintScreen::exportPdf);
    connect(cmdPrint, &QPushButton::clicked, this, &PrintScreen::print);
    connect(arv, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        if (report_) report_->paint(*printer);
    });
    connect(arv, &QPrintPreviewWidget::previewChanged, this, &PrintScreen::updatePageLabel);
    connect(cmdZoomIn, &QPushButton::clicked, arv, [this] { arv->zoomIn(); });
    connect(cmdZoomOut, &QPushButton::clicked, arv, [this] { arv->zoomOut(); });
    connect(cmdFitWidth, &QPushButton::clicked, arv, &QPrintPreviewWidget::fitToWidth);
    connect(cmdWholePage, &QPushButton::clicked, arv, &QPrintPreviewWidget::fitInView);
    connect(cmdPrevPage, &QPushButton::clicked, this, [this] { arv->setCurrentPage(arv->currentPage() - 1); });
    connect(cmdNextPage, &QPushButton::clicked, this, [this] { arv->setCurrentPage(arv->currentPage() + 1); });
    cmdPreview->setFocus();
}

PrintScreen::~PrintScreen() = default;

void PrintScreen::LoadIt(const GridSnapshot &grid, bool isTotal) {
    hasTotal_ = isTotal;
    totalRowPresent_ = isTotal && !grid.rows.empty();
    if (isTotal) chkisTotal->setChecked(true);
    chkisTotal->setEnabled(isTotal);

    // The print grid: the caller's columns (hidden flags, widths) and every cell,
    // all centred; column 0 narrow, for record numbers.
    QStringList headings;
    for (size_t c = 1; c < grid.columns.size(); ++c) headings << grid.columns[c].heading;
    std::vector<QVariantList> rows;
    rows.reserve(grid.rows.size());
    for (const GridSnapshot::Row &r : grid.rows) {
        QVariantList v;
        v.reserve(headings.size());
        for (int c = 1; c <= int(headings.size()); ++c) v << (c < r.cells.size() ? r.cells[c] : QString());
        rows.push_back(std::move(v));
    }
    Grid *g = VSFlexGrid;
    g->bind(ResultSet(headings, std::move(rows)));
    if (g->cols() < int(grid.columns.size())) g->setCols(int(grid.columns.size()));
    totalRows_.assign(grid.rows.size(), false);
    for (size_t c = 0; c < grid.columns.size(); ++c) {
        const GridSnapshot::Column &col = grid.columns[c];
        g->setColKey(int(c), col.key);
        g->setColHidden(int(c), col.hidden);
        g->setColWidth(int(c), col.widthTwips);
        g->setColAlignment(int(c), Qt::AlignCenter);
    }
    for (size_t r = 0; r < grid.rows.size(); ++r) {
        const GridSnapshot::Row &row = grid.rows[r];
        const int at = int(r) + 1;
        if (!row.cells.isEmpty() && !row.cells[0].isEmpty()) g->setTextMatrix(at, 0, row.cells[0]);
        if (row.isTotal) {
            totalRows_[r] = true;
            g->setRowBold(at, true);
            for (int c = 0; c < g->cols(); ++c) g->setCellForeColor(at, c, 255);
        }
    }
    // Narrow, yet wide enough for the total rows' captions.
    g->autoSize(0, 0);
    if (g->colWidth(0) < kRecordColumnTwips) g->setColWidth(0, kRecordColumnTwips);
    g->setRow(0);
    firstDataRow_ = totalRowPresent_ ? 2 : 1;

    // One checked entry per shown column, carrying its column.
    const QSignalBlocker block(listField);
    listField->clear();
    for (int c = 1; c < g->cols(); ++c) {
        if (g->colHidden(c)) continue;
        auto *item = new QListWidgetItem(g->textMatrix(0, c), listField);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        item->setData(Qt::UserRole, c);
    }
    if (listField->count() > 0) listField->setCurrentRow(0);
}

void PrintScreen::fieldToggled(QListWidgetItem *item) {
    const int col = item->data(Qt::UserRole).toInt();
    VSFlexGrid->setColHidden(col, item->checkState() != Qt::Checked);
}

void PrintScreen::totalToggled(bool checked) {
    Grid *g = VSFlexGrid;
    if (hasTotal_ && checked && !totalRowPresent_ && !savedTotalRow_.cells.isEmpty()) {
        // Back as row 1, as it was.
        g->addItem(QString(), 1);
        for (int c = 0; c < g->cols() && c < savedTotalRow_.cells.size(); ++c)
            g->setTextMatrix(1, c, savedTotalRow_.cells[c]);
        totalRows_.insert(totalRows_.begin(), savedTotalRow_.isTotal);
        if (savedTotalRow_.isTotal) {
            g->setRowBold(1, true);
            for (int c = 0; c < g->cols(); ++c) g->setCellForeColor(1, c, 255);
        }
        savedTotalRow_ = {};
        totalRowPresent_ = true;
    } else if (hasTotal_ && !checked && totalRowPresent_ && g->rows() > 1) {
        savedTotalRow_ = {};
        for (int c = 0; c < g->cols(); ++c) savedTotalRow_.cells << g->textMatrix(1, c);
        savedTotalRow_.isTotal = !totalRows_.empty() && totalRows_.front();
        g->removeItem(1);
        if (!totalRows_.empty()) totalRows_.erase(totalRows_.begin());
        totalRowPresent_ = false;
    }
    firstDataRow_ = totalRowPresent_ ? 2 : 1;
}

void PrintScreen::numberRows() {
    Grid *g = VSFlexGrid;
    const bool numbered = chkRecordIndex->isChecked();
    int n = 0;
    for (int r = firstDataRow_; r < g->rows(); ++r) {
        // A group's total row keeps its caption and takes no record number.
        if (size_t(r - 1) < totalRows_.size() && totalRows_[size_t(r - 1)]) continue;
        g->setTextMatrix(r, 0, numbered ? QString::number(++n) : QString());
    }
    if (totalRowPresent_ && g->rows() > 1) g->setTextMatrix(1, 0, kTotalCaption);
}

GridSnapshot PrintScreen::printSnapshot() const {
    GridSnapshot s = VSFlexGrid->snapshot();
    for (size_t r = 0; r < s.rows.size() && r < totalRows_.size(); ++r) s.rows[r].isTotal = totalRows_[r];
    return s;
}

std::unique_ptr<ReportRenderer> PrintScreen::buildReport() {
    if (chkIsTableHead->isChecked() && txtTable->toPlainText().isEmpty()) {
        ctx_.prompt().warning(QStringLiteral("请输入表头！"));
        txtTable->setFocus();
        return nullptr;
    }
    numberRows();
    ReportOptions options;
    options.title = chkIsTableHead->isChecked() ? txtTable->toPlainText() : QString();
    options.borders = chkIsSwag->isChecked();
    options.recordNumbers = chkRecordIndex->isChecked();
    options.landscape = Opt_0->isChecked();
    return std::make_unique<ReportRenderer>(buildGridReport(printSnapshot(), options));
}

void PrintScreen::preview() {
    std::unique_ptr<ReportRenderer> report = buildReport();
    if (!report) return;
    report->setUpPage(*previewPrinter_);
    // The preview holds every page at once: a year of sales is thousands of pages.
    const int pages = report->pageCount(*previewPrinter_);
    if (pages > kPreviewPagesWithoutAsking &&
        !ctx_.prompt().question(
            QStringLiteral("报表共有 %1 页，生成预览需要较长时间。\n继续吗？").arg(pages), kTitleHint))
        return;
    WaitCursor wait;
    report_ = std::move(report);
    arv->updatePreview();
    cmdPrint->setEnabled(true);
    updatePageLabel();
}

void PrintScreen::updatePageLabel() {
    lbPage->setText(report_ ? QStringLiteral("第 %1 页，共 %2 页").arg(arv->currentPage()).arg(arv->pageCount())
                            : QString());
}

bool PrintScreen::printTo(QPrinter &printer) const {
    if (!report_) return false;
    WaitCursor wait;
    return report_->paint(printer);
}

void PrintScreen::print() {
    if (!report_) return;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    QPrinter printer = info.isNull() ? QPrinter(QPrinter::HighResolution) : QPrinter(info, QPrinter::HighResolution);
    printer.setDocName(report_->report().title.trimmed().isEmpty() ? QStringLiteral("报表")
                                                                   : report_->report().title.trimmed());
    report_->setUpPage(printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!printTo(printer)) ctx_.prompt().warning(QStringLiteral("没有发现打印机！"), kTitleHint);
}

void PrintScreen::exportFile(const QString &defaultName, const QString &filter, const QString &suffix,
                             const std::function<void(const QString &)> &write) {
    QString path = askSavePath ? askSavePath(QDir(lastFolder()).filePath(defaultName), filter) : QString();
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0) path += QLatin1Char('.') + suffix;
    try {
        WaitCursor wait;
        write(path);
    } catch (const ExportError &e) {
        ctx_.prompt().warning(e.message(), kTitleHint);
        return;
    }
    lastFolder() = QFileInfo(path).absolutePath();
    if (ctx_.prompt().question(
            QStringLiteral("文件已保存到：\n%1\n\n现在打开吗？").arg(QDir::toNativeSeparators(path)), kTitleHint) &&
        openFile)
        openFile(path);
}

void PrintScreen::exportXlsx() {
    numberRows();
    const GridSnapshot grid = printSnapshot();
    exportFile(QStringLiteral("QueryData.xlsx"), QStringLiteral("Excel 工作簿 (*.xlsx)"), QStringLiteral("xlsx"),
               [&](const QString &path) { writeXlsx(grid, path); });
}

void PrintScreen::exportPdf() {
    const std::unique_ptr<ReportRenderer> report = buildReport();
    if (!report) return;
    exportFile(QStringLiteral("QueryData.pdf"), QStringLiteral("PDF 文件 (*.pdf)"), QStringLiteral("pdf"),
               [&](const QString &path) { writeReportPdf(*report, path); });
}

}  // namespace kestavion
