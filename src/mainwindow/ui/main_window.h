#pragma once

#include <QHash>
#include <QMainWindow>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace kestavion {

struct AppContext;
class ScreenRegistry;

// "frmMain": the menu bar and toolbar every screen is opened from, each entry enabled
// by one permission of the current user's role. Closing it ends the program.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(AppContext &ctx, const ScreenRegistry &registry, QWidget *parent = nullptr);

    // Applies the current user's role to the gated menu entries and toolbar buttons;
    // entries without a permission are never touched.
    void LoadPopdem();
    // The caption: the application's title and the shop's name as the session has it.
    void refreshCaption();

    // A menu entry by its name ("UserManage", "Colour", ...); nullptr when none.
    QAction *menuEntry(const QString &name) const;
    // A toolbar button by its key ("BuyIn", "Calculate", ...); nullptr when none.
    QAction *toolbarButton(const QString &key) const;

    // Starts an external program without waiting; true when it started. Replaceable
    // (tests), defaults to QProcess::startDetached.
    std::function<bool(const QString &program)> startProgram;

    QToolBar *Toolbar = nullptr;
    QLabel *Image1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();

    void menuClicked(const QString &name);
    void toolbarClicked(const QString &key);
    void openScreen(const QString &name, bool fromToolbar);
    void ReStart_Click();
    void ReLogin_Click();
    void About_Click();
    void startTool(const QStringList &candidates);
    void backupOnExit();

    AppContext &ctx_;
    const ScreenRegistry &registry_;
    QHash<QString, QAction *> menuEntries_;
    QHash<QString, QAction *> toolbarButtons_;
    bool leaving_ = false;
};

}  // namespace kestavion
