#pragma once

#include "foundation/ui/printer_access.h"
#include "selling/escpos.h"

namespace kestavion {

// A thermal receipt printer spoken to in ESC/POS: raw bytes to a device file or a
// network printer's raw port. Its status is asked first (half a second at most).
class EscPosPrinterAccess final : public PrinterAccess {
public:
    explicit EscPosPrinterAccess(EscPosSettings settings) : settings_(std::move(settings)) {}
    bool print(const PrintJob &job) override;
    QString problem() const override { return problem_; }
    int thermalColumns() const override { return settings_.columns; }

private:
    EscPosSettings settings_;
    QString problem_;
};

}  // namespace kestavion
