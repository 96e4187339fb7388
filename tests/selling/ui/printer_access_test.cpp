#include "foundation/ui/printer_access.h"
#include "kit/fixtures.h"
#include "selling/receipt.h"

#include <QFile>
#include <QProcess>

using namespace kestavion;
using namespace kestavion::test;

namespace {
class PrinterAccessTest : public TempDirTest {};

QString pdfText(const QString &pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(20000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}
}  // namespace

TEST_F(PrinterAccessTest, ReceiptPrintsIntoAPdfWithItsLines) {
    ReceiptData d;
    d.shopName = QStringLiteral("测试鞋店");
    d.time = QDateTime(QDate(2026, 12, 9), QTime(10, 0, 5));
    d.seller = QStringLiteral("管理员");
    d.sellNo = QStringLiteral("202612090001");
    d.pairs = {{QStringLiteral("A100"), QStringLiteral("自有品牌"), QStringLiteral("男皮鞋"), QStringLiteral("40"),
                QStringLiteral("1"), QStringLiteral("199"), QStringLiteral("8.5"), QStringLiteral("169")}};
    d.payment = QStringLiteral("200");
    d.change = QStringLiteral("31");

    PdfPrinterAccess pos(path(QStringLiteral("pos.pdf")));
    ASSERT_TRUE(pos.print(Receipt::checkoutPos(d)));
    EXPECT_EQ(pos.jobsPrinted(), 1);
    const QString text = pdfText(pos.path());
    EXPECT_TRUE(text.contains(QStringLiteral("测试鞋店结帐单"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("销售编号：202612090001")));
    EXPECT_TRUE(text.contains(QStringLiteral("谢谢惠顾，欢迎下次光临！")));
    EXPECT_TRUE(text.contains(QStringLiteral("找回金额：31")));

    PdfPrinterAccess dot(path(QStringLiteral("dot.pdf")));
    ASSERT_TRUE(dot.print(Receipt::checkoutDotMatrix(d)));
    const QString wide = pdfText(dot.path());
    EXPECT_TRUE(wide.contains(QStringLiteral("欢迎再次光临")));
    EXPECT_TRUE(wide.contains(QStringLiteral("实收合计：169")));

    // A file that cannot be written is reported, not taken for a printed receipt.
    PdfPrinterAccess nowhere(path(QStringLiteral("no/such/folder/x.pdf")));
    EXPECT_FALSE(nowhere.print(Receipt::checkoutPos(d)));
    EXPECT_EQ(nowhere.jobsPrinted(), 0);
}
