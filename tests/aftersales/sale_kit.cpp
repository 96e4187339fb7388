#include "sale_kit.h"

#include "foundation/guid.h"
#include "selling/lot_consumption.h"

namespace kestavion::test {

QString sellPair(Database &db, const Session &session, const QString &storeGuid, const SaleSpec &s) {
    ResultSet g = db.exec(QStringLiteral("SELECT * FROM Store WHERE GUID=?"), {storeGuid});
    const double amount = s.amount < 0 ? g.number(QStringLiteral("Price")) : s.amount;
    db.exec(QStringLiteral("UPDATE Store SET Quantity=Quantity-1 WHERE GUID=?"), {storeGuid});
    const LotTaken lot = LotConsumption(db).takeOne(storeGuid, session.rules.SellOrder);
    const QString guid = newGuid();
    db.exec(QStringLiteral("INSERT INTO Sell (GUID,StoreGUID,ShopNo,TypeNo,Name,Brand,[Size],Colour,Leather,Grade,"
                           "ProductPlace,Quantity,Price,Abate,Amount,BuyPrice,Seller,[DateTime],SellNo,BuyPriceId,"
                           "SellerName,State,Money1,Money2) VALUES (?,?,?,?,?,?,?,?,?,?,?,1,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {guid, storeGuid, g.text(QStringLiteral("ShopNo")), g.text(QStringLiteral("TypeNo")),
             g.text(QStringLiteral("Name")), g.text(QStringLiteral("Brand")), g.text(QStringLiteral("Size")),
             g.text(QStringLiteral("Colour")), g.text(QStringLiteral("Leather")), g.text(QStringLiteral("Grade")),
             g.text(QStringLiteral("ProductPlace")), g.number(QStringLiteral("Price")), s.abate, amount, lot.price.toDouble(),
             session.user.No, s.date, s.sellNo, QString::number(lot.id), session.user.Name, s.state, amount, 0});
    return guid;
}

}  // namespace kestavion::test
