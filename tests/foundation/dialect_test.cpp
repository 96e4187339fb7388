// What one statement answers must not depend on the engine that runs it.
#include "kit/fixtures.h"

using namespace kestavion;
using namespace kestavion::test;

namespace {

class DialectTest : public DbTest {};

TEST_F(DialectTest, MatchingIgnoringCaseFoldsOnlyAsciiLettersAndTakesTypedWildcardsLiterally) {
    for (const char *typeNo : {"ab-12", "AB\\12", "x%y", "XzY", "ａｂ"})
        plantGoods(*db, GoodsSpec{.typeNo = QString::fromUtf8(typeNo)});
    const QString sql = QStringLiteral("SELECT TypeNo FROM Store WHERE ShopNo=? AND ") +
                        db->likeIgnoringCase(QStringLiteral("TypeNo")) + QStringLiteral(" ORDER BY TypeNo");
    auto found = [&](const char *typed) {
        QStringList out;
        const ResultSet rs = db->exec(sql, {kShopKey, Database::likeContaining(QString::fromUtf8(typed))});
        for (int r = 0; r < rs.rowCount(); ++r) out << rs.text(r, 0);
        return out.join(QLatin1Char(' ')).toStdString();
    };
    EXPECT_EQ(found("Ab"), "AB\\12 ab-12");
    EXPECT_EQ(found("b\\1"), "AB\\12");
    EXPECT_EQ(found("%"), "x%y");
    EXPECT_EQ(found("x_y"), "");
    EXPECT_EQ(found("Ａ"), "");  // a full-width letter is not folded
    EXPECT_EQ(found("ａｂ"), "ａｂ");
    EXPECT_EQ(found(""), "AB\\12 XzY ab-12 x%y ａｂ");
}

}  // namespace
