#include "foundation/database.h"

#include "foundation/numbers.h"

namespace kestavion {

int ResultSet::columnIndex(const QString &name) const {
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int ResultSet::requireColumn(const QString &name) const {
    int i = columnIndex(name);
    if (i < 0) throw DbError(QStringLiteral("没有字段 %1").arg(name));
    return i;
}

QVariant ResultSet::value(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
    return rows_[static_cast<size_t>(row)][column];
}

QVariant ResultSet::value(int row, const QString &column) const {
    return value(row, requireColumn(column));
}

bool ResultSet::isNull(int row, const QString &column) const {
    QVariant v = value(row, column);
    return !v.isValid() || v.isNull();
}

QString ResultSet::text(int row, int column) const {
    QVariant v = value(row, column);
    if (!v.isValid() || v.isNull()) return {};
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'f', QLocale::FloatingPointShortest);
    return v.toString();
}
QString ResultSet::text(int row, const QString &column) const { return text(row, requireColumn(column)); }

double ResultSet::number(int row, int column) const {
    QVariant v = value(row, column);
    if (!v.isValid() || v.isNull()) return 0.0;
    bool ok = false;
    double d = v.toDouble(&ok);
    return ok ? d : 0.0;
}
double ResultSet::number(int row, const QString &column) const { return number(row, requireColumn(column)); }

qint64 ResultSet::integer(int row, int column) const {
    QVariant v = value(row, column);
    if (!v.isValid() || v.isNull()) return 0;
    if (v.typeId() == QMetaType::Double) return qRound64(v.toDouble());
    bool ok = false;
    qint64 i = v.toLongLong(&ok);
    if (ok) return i;
    double d = v.toString().trimmed().toDouble(&ok);
    return ok ? qRound64(d) : 0;
}
qint64 ResultSet::integer(int row, const QString &column) const { return integer(row, requireColumn(column)); }

bool ResultSet::flag(int row, const QString &column) const {
    QVariant v = value(row, requireColumn(column));
    if (!v.isValid() || v.isNull()) return false;
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        double d = v.toString().toDouble(&ok);
        if (ok) return d != 0.0;
        return v.toString().compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
    }
    return v.toDouble() != 0.0;
}

namespace {
class ResultRowView final : public RowView {
public:
    const QVariantList *row = nullptr;
    QByteArrayView utf8(int column) const override {
        const QVariant v = row->value(column);
        if (!v.isValid() || v.isNull()) return {};
        if (texts_.size() <= column) texts_.resize(column + 1);
        texts_[column] = v.typeId() == QMetaType::Double ? formatNumber(v.toDouble()).toUtf8() : v.toString().toUtf8();
        return texts_[column];
    }
    double number(int column) const override { return row->value(column).toDouble(); }

private:
    mutable QList<QByteArray> texts_;  // one per column, so earlier views stay valid
};
}  // namespace

void Database::scan(const QString &sql, const QVariantList &params, const std::function<void(const RowView &)> &fn) {
    const ResultSet rs = exec(sql, params);
    ResultRowView view;
    for (const QVariantList &r : rs.rows()) {
        view.row = &r;
        fn(view);
    }
}

QString Database::likeContaining(const QString &text) {
    QString pattern;
    pattern.reserve(text.size() + 8);
    pattern += QLatin1Char('%');
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\')) pattern += QLatin1Char('\\');
        pattern += c;
    }
    pattern += QLatin1Char('%');
    return pattern;
}

QVariant Database::scalar(const QString &sql, const QVariantList &params) {
    ResultSet rs = exec(sql, params);
    if (rs.empty() || rs.columnCount() == 0) return {};
    return rs.value(0, 0);
}

Transaction::~Transaction() {
    if (!done_) {
        try {
            db_.rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit() {
    db_.commit();
    done_ = true;
}

}  // namespace kestavion
