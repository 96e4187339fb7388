#include "printing/report_files.h"

#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <minizip/unzip.h>

namespace kestavion::test {

QString readXlsxPart(const QString &path, const QString &part) {
    unzFile zip = unzOpen64(path.toLocal8Bit().constData());
    if (!zip) return {};
    QByteArray data;
    if (unzLocateFile(zip, part.toUtf8().constData(), 1) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        char buf[8192];
        int n;
        while ((n = unzReadCurrentFile(zip, buf, sizeof buf)) > 0) data.append(buf, n);
        if (unzCloseCurrentFile(zip) != UNZ_OK) data.clear();  // CRC mismatch
    }
    unzClose(zip);
    return QString::fromUtf8(data);
}

namespace {
int columnNumber(const QString &ref) {
    int n = 0;
    for (QChar ch : ref) {
        if (!ch.isLetter()) break;
        n = n * 26 + (ch.unicode() - 'A' + 1);
    }
    return n - 1;
}
}  // namespace

std::vector<QStringList> readXlsxSheet(const QString &path) {
    QStringList shared;
    QXmlStreamReader ss(readXlsxPart(path, QStringLiteral("xl/sharedStrings.xml")));
    while (!ss.atEnd()) {
        if (ss.readNext() == QXmlStreamReader::StartElement && ss.name() == QLatin1String("si")) {
            QString text;
            while (!(ss.readNext() == QXmlStreamReader::EndElement && ss.name() == QLatin1String("si")) && !ss.atEnd())
                if (ss.isStartElement() && ss.name() == QLatin1String("t")) text += ss.readElementText();
            shared << text;
        }
    }
    std::vector<QStringList> rows;
    QXmlStreamReader x(readXlsxPart(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    QString type;
    int col = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement()) continue;
        if (x.name() == QLatin1String("row")) {
            const int r = x.attributes().value(QLatin1String("r")).toInt() - 1;
            while (int(rows.size()) <= r) rows.emplace_back();
        } else if (x.name() == QLatin1String("c")) {
            type = x.attributes().value(QLatin1String("t")).toString();
            col = columnNumber(x.attributes().value(QLatin1String("r")).toString());
            QStringList &row = rows.back();
            while (row.size() <= col) row << QString();
        } else if (x.name() == QLatin1String("v") || x.name() == QLatin1String("t")) {
            const QString v = x.readElementText();
            rows.back()[col] = type == QLatin1String("s") ? shared.value(v.toInt()) : v;
        }
    }
    return rows;
}

QStringList pdfPages(const QString &path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(60000);
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

QString pdfPageSize(const QString &path) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    p.waitForFinished(60000);
    const auto m = QRegularExpression(QStringLiteral("Page size:\\s*(.*)")).match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

}  // namespace kestavion::test
