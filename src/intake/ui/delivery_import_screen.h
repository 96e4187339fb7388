#pragma once

#include "intake/delivery_import.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class QDateEdit;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kestavion {

struct AppContext;
class SheetReader;

// frmPutIn: a supplier's delivery note, stored as a spreadsheet, taken in as stock.
class DeliveryImportScreen : public QDialog {
    Q_OBJECT
public:
    explicit DeliveryImportScreen(AppContext &ctx, QWidget *parent = nullptr);
    ~DeliveryImportScreen() override;

    QLineEdit *txtFileName;
    QPushButton *cmdSelect;
    QGroupBox *Frame1;
    QLineEdit *txtBeginRow, *txtEndrow, *txtSizeBCol, *txtSizeECol, *txtColourRow, *txtTypeNoCol, *txtBrandCol,
        *txtNameCol, *txtColourCol, *txtLeatherCol, *txtLevelCol, *txtProductCol, *txtPriceCol, *txtSellPriceCol;
    QDateEdit *DT;
    QPushButton *cmdPutIn;
    QProgressBar *ProgressBar;

    // Asks for the file to open; empty when the user cancels. A file dialog unless
    // replaced (tests choose their fixture files).
    std::function<QString()> chooseFile;

    // Whether a file is open (read and waiting to be imported).
    bool hasOpenFile() const { return sheet_ != nullptr; }

private:
    void selectFile();
    void runImport();
    void releaseFile();
    QLineEdit *settingBox(DeliveryLayout::Setting s) const { return settings_[s]; }

    AppContext &ctx_;
    std::array<QLineEdit *, DeliveryLayout::SettingCount> settings_{};
    std::unique_ptr<SheetReader> sheet_;
};

}  // namespace kestavion
