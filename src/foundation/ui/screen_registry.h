#pragma once

#include <QString>
#include <functional>
#include <map>

class QDialog;
class QWidget;

namespace kestavion {

struct AppContext;

// How the main window opens a screen: each subsystem registers its screens under
// the main window's menu name, so a new screen plugs in without editing the window.
struct ScreenEntry {
    QString menuName;          // e.g. "SellOut", "Colour"
    QString toolbarKey;        // empty when the toolbar has no button for it
    bool modalFromMenu = true;
    bool modalFromToolbar = true;
    // Creates the screen (the main window shows it and deletes it when closed).
    std::function<QDialog *(AppContext &, QWidget *parent)> create;
};

// The usual factory: a screen built from the context and its parent.
template <typename Screen>
std::function<QDialog *(AppContext &, QWidget *)> screenMaker() {
    return [](AppContext &ctx, QWidget *parent) -> QDialog * { return new Screen(ctx, parent); };
}

class ScreenRegistry {
public:
    void add(ScreenEntry entry);
    const ScreenEntry *byMenu(const QString &menuName) const;
    const ScreenEntry *byToolbarKey(const QString &key) const;
    bool has(const QString &menuName) const { return byMenu(menuName) != nullptr; }

private:
    std::map<QString, ScreenEntry> entries_;
};

// Every subsystem's screens (defined in mainwindow/ui/all_screens.cpp).
void registerAllScreens(ScreenRegistry &registry);

}  // namespace kestavion
