#include "foundation/session.h"

namespace kestavion {

namespace {

QVariant cell(const ResultSet &rs, int row, int column) { return rs.value(row, column); }

bool asFlag(const QVariant &v) {
    if (!v.isValid() || v.isNull()) return false;
    bool ok = false;
    double d = v.toDouble(&ok);
    if (ok) return d != 0.0;
    return v.toString().compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
}

int asInt(const QVariant &v) {
    if (!v.isValid() || v.isNull()) return 0;
    return static_cast<int>(v.toDouble());
}

QString asText(const QVariant &v) { return (!v.isValid() || v.isNull()) ? QString() : v.toString(); }

[[noreturn]] void noProperty(const QString &table, const QString &column) {
    throw DbError(QStringLiteral("%1 没有与字段 %2 对应的属性").arg(table, column));
}

}  // namespace

bool Role::allows(const QString &key) const {
    int i = kPermissionKeys.indexOf(key);
    return i >= 0 && flags[static_cast<size_t>(i)];
}

void Role::set(const QString &key, bool value) {
    int i = kPermissionKeys.indexOf(key);
    if (i >= 0) flags[static_cast<size_t>(i)] = value;
}

void Role::assignFrom(const ResultSet &rs, int row) {
    Role r = *this;
    for (int c = 0; c < rs.columnCount(); ++c) {
        const QString &name = rs.columns()[c];
        if (name.compare(QStringLiteral("GUID"), Qt::CaseInsensitive) == 0) {
            r.GUID = asText(cell(rs, row, c));
        } else if (name.compare(QStringLiteral("Name"), Qt::CaseInsensitive) == 0) {
            r.Name = asText(cell(rs, row, c));
        } else {
            int i = -1;
            for (int k = 0; k < kPermissionKeys.size(); ++k)
                if (kPermissionKeys[k].compare(name, Qt::CaseInsensitive) == 0) i = k;
            if (i < 0) noProperty(QStringLiteral("Role"), name);
            r.flags[static_cast<size_t>(i)] = asFlag(cell(rs, row, c));
        }
    }
    *this = r;
}

const QStringList &SellRules::columnNames() {
    static const QStringList names = {
        QStringLiteral("ShopNo"),          QStringLiteral("SellOrder"),          QStringLiteral("BackDays"),
        QStringLiteral("AbateCanNotBack"), QStringLiteral("SpecialCanNotBack"),  QStringLiteral("ChangeDays"),
        QStringLiteral("AbateCanNotChange"), QStringLiteral("SpecialCanNotChange"), QStringLiteral("SameTypeChange"),
        QStringLiteral("DearGoodsChange"), QStringLiteral("ChangeOneTime"),      QStringLiteral("ChangNotToBack"),
        QStringLiteral("IsPrint"),         QStringLiteral("PrinterType")};
    return names;
}

void SellRules::assignFrom(const ResultSet &rs, int row) {
    SellRules r = *this;
    for (int c = 0; c < rs.columnCount(); ++c) {
        const QString name = rs.columns()[c].toLower();
        const QVariant v = cell(rs, row, c);
        if (name == QLatin1String("shopno")) r.ShopNo = asText(v);
        else if (name == QLatin1String("sellorder")) r.SellOrder = asInt(v);
        else if (name == QLatin1String("backdays")) r.BackDays = asInt(v);
        else if (name == QLatin1String("abatecannotback")) r.AbateCanNotBack = asFlag(v);
        else if (name == QLatin1String("specialcannotback")) r.SpecialCanNotBack = asFlag(v);
        else if (name == QLatin1String("changedays")) r.ChangeDays = asInt(v);
        else if (name == QLatin1String("abatecannotchange")) r.AbateCanNotChange = asFlag(v);
        else if (name == QLatin1String("specialcannotchange")) r.SpecialCanNotChange = asFlag(v);
        else if (name == QLatin1String("sametypechange")) r.SameTypeChange = asFlag(v);
        else if (name == QLatin1String("deargoodschange")) r.DearGoodsChange = asFlag(v);
        else if (name == QLatin1String("changeonetime")) r.ChangeOneTime = asFlag(v);
        else if (name == QLatin1String("changnottoback")) r.ChangNotToBack = asFlag(v);
        else if (name == QLatin1String("isprint")) r.IsPrint = asFlag(v);
        else if (name == QLatin1String("printertype")) r.PrinterType = asInt(v);
        else noProperty(QStringLiteral("SellRole"), rs.columns()[c]);
    }
    *this = r;
}

}  // namespace kestavion
