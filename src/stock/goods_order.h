#pragma once

#include <QString>

namespace kestavion {

// The order every list of a shop's goods rows is shown in: by article and then the
// rest of the goods description, the key last so that no two rows tie. It is the order
// of the index idx_store_till (ShopNo first), so the embedded file reads the list
// straight from that index, with no sort, and a server returns the same rows in the
// same order, however its rows were last written.
inline const QString kGoodsListOrder = QStringLiteral(
    " ORDER BY TypeNo,Name,Brand,Size,Colour,Leather,Grade,ProductPlace,Quantity,Price,GUID");

}  // namespace kestavion
