#include "intake/ui/delivery_import_screen.h"

#include "foundation/app_context.h"
#include "foundation/refusal.h"
#include "foundation/ui/form_helpers.h"
#include "intake/sheet_reader.h"
#include "intake/ui/intake_form.h"

#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestavion {

using namespace intakeform;
using L = DeliveryLayout;

DeliveryImportScreen::DeliveryImportScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmPutIn"));
    setWindowTitle(QStringLiteral("数据导入"));

    txtFileName = lineEdit(this, "txtFileName");
    txtFileName->setReadOnly(true);
    txtFileName->setMinimumWidth(360);
    cmdSelect = namedButton(this, "cmdSelect", QStringLiteral("…"));
    cmdSelect->setFixedWidth(32);

    Frame1 = new QGroupBox(QStringLiteral("设 置"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    const char *names[L::SettingCount] = {"txtBeginRow",  "txtEndrow",     "txtSizeBCol",   "txtSizeECol",
                                          "txtColourRow", "txtTypeNoCol",  "txtBrandCol",   "txtNameCol",
                                          "txtColourCol", "txtLeatherCol", "txtLevelCol",   "txtProductCol",
                                          "txtPriceCol",  "txtSellPriceCol"};
    auto *frame = new QGridLayout(Frame1);
    for (int s = 0; s < L::SettingCount; ++s) {
        QLineEdit *box = lineEdit(Frame1, names[s]);
        box->setText(L::defaultText(L::Setting(s)));
        box->setMaximumWidth(80);
        settings_[s] = box;
        // Two settings a row, in the order of the table on the delivery note.
        addRow(frame, s / 2, (s % 2) * 3, L::label(L::Setting(s)) + QStringLiteral("："), box);
    }
    frame->setColumnMinimumWidth(2, 24);
    txtBeginRow = settings_[L::BeginRow];
    txtEndrow = settings_[L::EndRow];
    txtSizeBCol = settings_[L::SizeBeginCol];
    txtSizeECol = settings_[L::SizeEndCol];
    txtColourRow = settings_[L::SizeRow];
    txtTypeNoCol = settings_[L::TypeNoCol];
    txtBrandCol = settings_[L::BrandCol];
    txtNameCol = settings_[L::NameCol];
    txtColourCol = settings_[L::ColourCol];
    txtLeatherCol = settings_[L::LeatherCol];
    txtLevelCol = settings_[L::GradeCol];
    txtProductCol = settings_[L::PlaceCol];
    txtPriceCol = settings_[L::BuyPriceCol];
    txtSellPriceCol = settings_[L::SellPriceCol];

    DT = datePicker(this, "DT");
    DT->setDate(ctx.today());
    cmdPutIn = namedButton(this, "cmdPutIn", QStringLiteral("开始导入"));
    cmdPutIn->setEnabled(false);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setVisible(false);

    auto *file = new QHBoxLayout;
    file->addWidget(new QLabel(QStringLiteral("Excel文件"), this));
    file->addWidget(txtFileName, 1);
    file->addWidget(cmdSelect);
    auto *date = new QHBoxLayout;
    auto *dateLabel = new QLabel(QStringLiteral("进货日期："), this);
    dateLabel->setBuddy(DT);
    date->addWidget(dateLabel);
    date->addWidget(DT);
    date->addStretch();
    date->addWidget(cmdPutIn);
    auto *top = new QVBoxLayout(this);
    top->addLayout(file);
    top->addWidget(Frame1);
    top->addLayout(date);
    top->addWidget(ProgressBar);
    disableAutoDefault(this);

    // Enter runs down the settings and the date to the import button.
    for (QLineEdit *box : settings_) EnterToTab::install(box);
    EnterToTab::install(DT);
    EnterClicksButtons::install(this);
    setTabOrder(cmdSelect, txtBeginRow);
    for (int s = 1; s < L::SettingCount; ++s) setTabOrder(settings_[s - 1], settings_[s]);
    setTabOrder(txtSellPriceCol, DT);
    setTabOrder(DT, cmdPutIn);

    chooseFile = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("打开"), QString(),
                                            QStringLiteral("Excel文件 (*.xls *.xlsx)"));
    };
    connect(cmdSelect, &QPushButton::clicked, this, &DeliveryImportScreen::selectFile);
    connect(cmdPutIn, &QPushButton::clicked, this, &DeliveryImportScreen::runImport);
    cmdSelect->setFocus();
}

// The sheet is held in memory only; closing the screen drops it with the screen.
DeliveryImportScreen::~DeliveryImportScreen() = default;

void DeliveryImportScreen::releaseFile() {
    sheet_.reset();
    cmdPutIn->setEnabled(false);
}

void DeliveryImportScreen::selectFile() {
    const QString path = chooseFile();
    if (path.isEmpty()) return;  // cancelled: nothing changes
    releaseFile();
    txtFileName->setText(QDir::toNativeSeparators(path));
    try {
        sheet_ = openSheet(path);
    } catch (const SheetError &e) {
        ctx_.prompt().warning(e.message(), kTitleHint);
        txtFileName->clear();
        cmdSelect->setFocus();
        return;
    }
    cmdPutIn->setEnabled(true);
    txtEndrow->setFocus();
}

void DeliveryImportScreen::runImport() {
    if (!sheet_) return;
    DeliveryLayout layout;
    for (int s = 0; s < L::SettingCount; ++s) layout.values[s] = L::readSetting(settings_[s]->text());

    DeliveryPlan plan;
    try {
        plan = DeliveryImport::plan(*sheet_, layout, DT->date());
    } catch (const LayoutRefusal &r) {
        // The file stays open: only the setting needs correcting.
        r.show(ctx_.prompt());
        settingBox(r.setting())->setFocus();
        settingBox(r.setting())->selectAll();
        return;
    } catch (const Refusal &r) {
        // A cell of the file is wrong: the file must be corrected and chosen again.
        releaseFile();
        r.show(ctx_.prompt());
        cmdSelect->setFocus();
        return;
    }

    ProgressBar->setRange(1, std::max(1, plan.cellCount));
    ProgressBar->setValue(1);
    ProgressBar->setVisible(true);
    bool done = false;
    try {
        done = runReporting(ctx_.prompt(), [&] {
            DeliveryImport(ctx_.database(), ctx_.session.shopNo).write(plan, [this](int cell) {
                ProgressBar->setValue(cell);
            });
        });
    } catch (const Refusal &r) {
        r.show(ctx_.prompt());
    }
    if (done) {
        ProgressBar->setValue(ProgressBar->maximum());
        ctx_.prompt().exclamation(QStringLiteral("导入成功!"));
    }
    // Committed or rolled back, the file is let go; a further import chooses it again.
    ProgressBar->setVisible(false);
    releaseFile();
    cmdSelect->setFocus();
}

}  // namespace kestavion
