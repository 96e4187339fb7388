#pragma once

#include <QObject>
#include <QTimer>

namespace kestavion {

class FileHealth;
class Prompter;

// Tells the user once, in our own words (kFileDamaged), that the database file was
// found damaged — by the background check or by the engine. Never in the middle of a
// sale: while a window says a sale is in progress (its "saleInProgress" property is
// true), the message waits until the sale is done.
class FileHealthNotice : public QObject {
public:
    FileHealthNotice(const FileHealth &health, Prompter &prompter, QObject *parent = nullptr);

    // Shows the message if it is due and no sale is in progress; true once shown.
    bool poll();
    bool shown() const { return shown_; }

    // The property a screen sets on itself while a sale is in progress.
    static constexpr const char *kSaleInProgress = "saleInProgress";
    static bool saleInProgress();

private:
    const FileHealth &health_;
    Prompter &prompter_;
    QTimer timer_;
    bool shown_ = false;
};

}  // namespace kestavion
