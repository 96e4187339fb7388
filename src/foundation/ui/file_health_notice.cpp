#include "foundation/ui/file_health_notice.h"

#include "foundation/file_health.h"
#include "foundation/prompter.h"

#include <QApplication>
#include <QWidget>

namespace kestavion {

FileHealthNotice::FileHealthNotice(const FileHealth &health, Prompter &prompter, QObject *parent)
    : QObject(parent), health_(health), prompter_(prompter) {
    // The check's finding comes from another thread; looking once a second costs
    // nothing and needs no signal across threads.
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start();
}

bool FileHealthNotice::saleInProgress() {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->property(kSaleInProgress).toBool()) return true;
    return false;
}

bool FileHealthNotice::poll() {
    if (shown_ || !health_.damaged() || saleInProgress()) return shown_;
    shown_ = true;
    timer_.stop();
    prompter_.warning(kFileDamaged, kAppTitle);
    return true;
}

}  // namespace kestavion
