#include "selling/ui/escpos_printer_access.h"

namespace kestavion {

bool EscPosPrinterAccess::print(const PrintJob &job) {
    problem_.clear();
    switch (EscPosLink(settings_.device).send(escpos::encode(job, settings_.drawer))) {
    case EscPosLink::Outcome::Printed: return true;
    case EscPosLink::Outcome::NotFound: break;
    case EscPosLink::Outcome::Offline: problem_ = QStringLiteral("打印机未就绪（脱机或纸仓盖打开），请检查打印机！"); break;
    case EscPosLink::Outcome::PaperOut: problem_ = QStringLiteral("打印机缺纸，请装纸后按F8重新打印！"); break;
    }
    return false;
}

}  // namespace kestavion
