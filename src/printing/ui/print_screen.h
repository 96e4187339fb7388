#pragma once

#include "foundation/grid_snapshot.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace kestavion {
class Grid;
struct AppContext;
class ReportRenderer;

// Opens the print screen on a copy of `source` (modal).
void openPrintScreen(AppContext &ctx, const Grid &source, QWidget *parent);

// frmPrint: a query grid printed as a report (chosen columns, title, total row,
// record numbers, grid lines, orientation) with its preview, printed from the
// preview, or exported to an .xlsx or a PDF file. Works on its own copy of the grid.
class PrintScreen : public QDialog {
    Q_OBJECT
public:
    explicit PrintScreen(AppContext &ctx, QWidget *parent = nullptr);
    ~PrintScreen() override;

    // Copies the caller's grid; `isTotal`: its row 1 is a grand-total row.
    void LoadIt(const GridSnapshot &grid, bool isTotal);

    QListWidget *listField;
    QCheckBox *chkIsTableHead;
    QPlainTextEdit *txtTable;
    QCheckBox *chkisTotal, *chkRecordIndex, *chkIsSwag;
    QRadioButton *Opt_0, *Opt_1;  // 横向, 纵向
    QPushButton *comAutoSize, *cmdPreview, *cmdExcel, *cmdPdf;
    QPrintPreviewWidget *arv;
    QPushButton *cmdPrint;
    QLabel *lbPage;
    Grid *VSFlexGrid;

    // The report the preview shows; null before the first preview.
    const ReportRenderer *report() const { return report_.get(); }
    // Prints the previewed report on a printer; false when it cannot be opened.
    bool printTo(QPrinter &printer) const;

    // Asks where a file goes (suggested full path, file-type filter); empty when the
    // user cancels. A save dialog by default; tests replace it.
    std::function<QString(const QString &suggested, const QString &filter)> askSavePath;
    // Opens a written file with the desktop's default application; tests replace it.
    std::function<void(const QString &path)> openFile;

private:
    void fieldToggled(QListWidgetItem *item);
    void totalToggled(bool checked);
    void numberRows();
    // Checks the title, numbers the rows and builds the report from the print grid;
    // null when refused.
    std::unique_ptr<ReportRenderer> buildReport();
    void preview();
    void print();
    void exportXlsx();
    void exportPdf();
    // Asks for the file, writes it with `write`, then offers to open it.
    void exportFile(const QString &defaultName, const QString &filter, const QString &suffix,
                    const std::function<void(const QString &)> &write);
    void updatePageLabel();
    GridSnapshot printSnapshot() const;

    AppContext &ctx_;
    bool hasTotal_ = false;
    bool totalRowPresent_ = false;
    int firstDataRow_ = 1;
    GridSnapshot::Row savedTotalRow_;
    std::vector<bool> totalRows_;  // per print-grid data row: a total row of the caller
    std::unique_ptr<ReportRenderer> report_;
    std::unique_ptr<QPrinter> previewPrinter_;
};

}  // namespace kestavion
