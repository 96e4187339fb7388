#include "foundation/guid.h"

#include <QUuid>

namespace kestavion {

QString newGuid(bool stripped) {
    QString s = QUuid::createUuid().toString(stripped ? QUuid::Id128 : QUuid::WithBraces).toUpper();
    return s;
}

}  // namespace kestavion
