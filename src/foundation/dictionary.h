#pragma once

#include "foundation/database.h"

#include <QStringList>

namespace kestavion {

// The shop's lookup lists (DataDictionary rows), one list per item name.
class Dictionary {
public:
    explicit Dictionary(Database &db) : db_(db) {}
    // Entries of one item in the database's order (NULL as empty text).
    QStringList entries(const QString &item);
    void add(const QString &item, const QString &content);
    // Removes every row of the item with that content; returns how many went.
    int remove(const QString &item, const QString &content);

private:
    Database &db_;
};

}  // namespace kestavion
