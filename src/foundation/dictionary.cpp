#include "foundation/dictionary.h"

namespace kestavion {

QStringList Dictionary::entries(const QString &item) {
    ResultSet rs = db_.exec(QStringLiteral("SELECT Content FROM DataDictionary WHERE Item=? ORDER BY ID"), {item});
    QStringList out;
    out.reserve(rs.rowCount());
    for (int r = 0; r < rs.rowCount(); ++r) out << rs.text(r, 0);
    return out;
}

void Dictionary::add(const QString &item, const QString &content) {
    db_.exec(QStringLiteral("INSERT INTO DataDictionary (Item,Content) VALUES (?,?)"), {item, content});
}

int Dictionary::remove(const QString &item, const QString &content) {
    db_.exec(QStringLiteral("DELETE FROM DataDictionary WHERE Item=? AND Content=?"), {item, content});
    return db_.changes();
}

}  // namespace kestavion
