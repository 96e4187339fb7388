#include "mainwindow/ui/main_window.h"

#include "foundation/app_context.h"
#include "foundation/file_health.h"
#include "foundation/sqlite_database.h"
#include "foundation/platform.h"
#include "foundation/refusal.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/login_screen.h"
#include "foundation/ui/relogin_screen.h"
#include "foundation/ui/screen_registry.h"
#include "mainwindow/data_wipe.h"
#include "mainwindow/exit_backup.h"
#include "mainwindow/ui/about_screen.h"

#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace kestavion {

namespace {

// The menu bar, top to bottom: a top-level menu, its entries, a sub-menu and its
// entries (an Entry or Separator after them goes back to the top-level menu).
struct MenuLine {
    enum Kind { Top, Sub, Entry, SubEntry, Separator } kind;
    const char *name;
    const char *caption;
};

const MenuLine kMenus[] = {
    {MenuLine::Top, "System", "[系  统(&S)]"},
    {MenuLine::Entry, "UserManage", "1-用户管理"},
    {MenuLine::Entry, "ChagePassWord", "2-修改密码"},
    {MenuLine::Entry, "SellRole", "3-系统参数设置"},
    // Each opens the lookup-list screen for the list of its caption.
    {MenuLine::Sub, "Data", "4-数据维护"},
    {MenuLine::SubEntry, "Colour", "颜色"},
    {MenuLine::SubEntry, "Size", "尺码"},
    {MenuLine::SubEntry, "Name", "种类"},
    {MenuLine::SubEntry, "Brand", "品牌"},
    {MenuLine::SubEntry, "feather", "面料"},
    {MenuLine::SubEntry, "Grade", "等级"},
    {MenuLine::SubEntry, "Production", "产地"},
    {MenuLine::SubEntry, "BackResion", "退货原因"},
    {MenuLine::SubEntry, "ChangeResion", "调换原因"},
    {MenuLine::SubEntry, "BlankOutResion", "作废原因"},
    {MenuLine::SubEntry, "OtherItem", "其他支出项目"},
    {MenuLine::Entry, "ChangeShop", "5-店面管理"},
    {MenuLine::Separator, "split", ""},
    {MenuLine::Entry, "putin", "6-进货单数据导入"},
    {MenuLine::Entry, "BackUpDate", "7-数据备份设置"},
    {MenuLine::Entry, "ReStart", "8-重新开始"},
    {MenuLine::Entry, "ReLogin", "9-更换用户"},
    {MenuLine::Entry, "Exit", "10-退出"},

    {MenuLine::Top, "Operator", "[功  能(&O)]"},
    {MenuLine::Entry, "BuyIn", "1-进货管理"},
    {MenuLine::Entry, "SellOut", "2-售货管理"},
    {MenuLine::Entry, "ClientBackChange", "3-客户调换"},
    {MenuLine::Entry, "ClientBack", "4-客户退货"},
    {MenuLine::Entry, "Question", "5-问 题 鞋"},
    {MenuLine::Entry, "CompanyBack", "6-厂商退货"},
    {MenuLine::Separator, "split1", ""},
    {MenuLine::Entry, "BlankOut", "7-售货作废"},
    {MenuLine::Entry, "ChangePrice", "8-价格变动"},
    {MenuLine::Entry, "OtherOut", "9-非营业其他支出"},

    {MenuLine::Top, "Query", "[查  询(&Q)]"},
    {MenuLine::Entry, "StoreQuery", "1-库存查询"},
    {MenuLine::Entry, "SellQuery", "2-售货查询"},
    {MenuLine::Entry, "SellGroup", "3-销售排行"},
    {MenuLine::Entry, "BuyInDetail", "4-进货明细查询"},
    {MenuLine::Entry, "ClientChangeQuery", "5-客户退换查询"},
    {MenuLine::Entry, "Back", "6-厂商退货查询"},
    {MenuLine::Entry, "BlankOutQuery", "7-作废记录查询"},
    {MenuLine::Entry, "OtherOutQuery", "8-非营业支出查询"},

    {MenuLine::Top, "Amount", "[结算统计(&A)]"},
    {MenuLine::Entry, "DayAmount", "1-日结算"},
    {MenuLine::Entry, "AmountTotal", "2-结算汇总"},
    {MenuLine::Entry, "Profit", "3-利润分析"},
    {MenuLine::Entry, "ProfitByNo", "4-单品利润计算"},

    {MenuLine::Top, "Other", "[帮  助(&H)]"},
    {MenuLine::Entry, "Calculate", "1-计算器"},
    {MenuLine::Entry, "Note", "2-记事本"},
    {MenuLine::Entry, "About", "3-关于我们"},
};

struct Gate {
    const char *entry;
    const char *permission;
};

// Gated menu entries, in the order they are applied, with the permission of each.
const Gate kMenuGates[] = {
    {"UserManage", "UserManage"},   {"SellRole", "SellRole"},
    {"ChangeShop", "ChangeShop"},   {"BuyIn", "BuyIn"},
    {"SellOut", "Sell"},            {"ClientBack", "ClientBack"},
    {"ClientBackChange", "ClientChange"}, {"Question", "Question"},
    {"CompanyBack", "FactoryBack"}, {"BlankOut", "SellBlankOut"},
    {"ChangePrice", "ChangePrice"}, {"OtherOut", "OtherOut"},
    {"StoreQuery", "StoreQuery"},   {"SellQuery", "SellQuery"},
    {"SellGroup", "SellGroup"},     {"BuyInDetail", "BuyDetail"},
    {"ClientChangeQuery", "ClientChangeQuery"}, {"Back", "FactoryBackQuery"},
    {"BlankOutQuery", "BlankOutQuery"}, {"OtherOutQuery", "OtherOurQuery"},
    {"DayAmount", "DayAmount"},     {"AmountTotal", "TotalAmount"},
    {"Profit", "Profit"},           {"ReStart", "ReStart"},
};

// Gated toolbar buttons by key.
const Gate kToolbarGates[] = {
    {"BuyIn", "BuyIn"},           {"SellOut", "Sell"},          {"ClientBackChange", "ClientChange"},
    {"ChangeShop", "ChangeShop"}, {"StoreQuery", "StoreQuery"}, {"SellQuery", "SellQuery"},
    {"CompanyBack", "FactoryBack"}, {"ClientBack", "ClientBack"},
};

struct Button {
    const char *caption;
    const char *key;
};

const Button kToolbar[] = {
    {"进 货", "BuyIn"},           {"售  货", "SellOut"},       {"客户调换", "ClientBackChange"},
    {"客户退货", "ClientBack"},   {"厂商退货", "CompanyBack"}, {"库存查询", "StoreQuery"},
    {"售货查询", "SellQuery"},    {"店面管理", "ChangeShop"},  {"计算器", "Calculate"},
    {"记事本", "Note"},           {"退 出", "Exit"},
};

}  // namespace

MainWindow::MainWindow(AppContext &ctx, const ScreenRegistry &registry, QWidget *parent)
    : QMainWindow(parent), ctx_(ctx), registry_(registry) {
    setObjectName(QStringLiteral("frmMain"));
    startProgram = [](const QString &program) { return QProcess::startDetached(program, {}); };

    buildMenus();
    buildToolbar();

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(login_ui::banner(QSize(560, 160), kAppTitle));
    // Kept horizontally centred as the window is resized; its top stays.
    layout->addWidget(Image1, 0, Qt::AlignHCenter | Qt::AlignTop);
    layout->addStretch();
    setCentralWidget(central);
    resize(900, 600);

    LoadPopdem();
    refreshCaption();
}

void MainWindow::refreshCaption() { setWindowTitle(kAppTitle + QLatin1Char('-') + ctx_.session.shopName); }

void MainWindow::buildMenus() {
    QMenu *top = nullptr;
    QMenu *current = nullptr;
    for (const MenuLine &line : kMenus) {
        const QString name = QString::fromLatin1(line.name);
        const QString caption = QString::fromUtf8(line.caption);
        switch (line.kind) {
        case MenuLine::Top:
            top = current = menuBar()->addMenu(caption);
            break;
        case MenuLine::Sub:
            current = top->addMenu(caption);
            break;
        case MenuLine::Entry:
            current = top;
            [[fallthrough]];
        case MenuLine::SubEntry: {
            QAction *a = current->addAction(caption);
            a->setObjectName(name);
            menuEntries_.insert(name, a);
            connect(a, &QAction::triggered, this, [this, name] { menuClicked(name); });
            continue;
        }
        case MenuLine::Separator:
            current = top;
            current->addSeparator()->setObjectName(name);
            continue;
        }
        current->setObjectName(name);
        current->menuAction()->setObjectName(name);
    }
}

void MainWindow::buildToolbar() {
    Toolbar = addToolBar(QStringLiteral("Toolbar"));
    Toolbar->setObjectName(QStringLiteral("Toolbar"));
    Toolbar->setMovable(false);
    Toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const Button &b : kToolbar) {
        const QString key = QString::fromLatin1(b.key);
        QAction *a = Toolbar->addAction(QString::fromUtf8(b.caption));
        a->setObjectName(QStringLiteral("Toolbar_") + key);
        a->setData(key);
        toolbarButtons_.insert(key, a);
        connect(a, &QAction::triggered, this, [this, a] { toolbarClicked(a->data().toString()); });
    }
}

QAction *MainWindow::menuEntry(const QString &name) const { return menuEntries_.value(name); }
QAction *MainWindow::toolbarButton(const QString &key) const { return toolbarButtons_.value(key); }

void MainWindow::LoadPopdem() {
    const Role &role = ctx_.session.user.role;
    for (const Gate &g : kMenuGates)
        menuEntries_.value(QString::fromLatin1(g.entry))->setEnabled(role.allows(QString::fromLatin1(g.permission)));
    for (const Gate &g : kToolbarGates)
        toolbarButtons_.value(QString::fromLatin1(g.entry))->setEnabled(role.allows(QString::fromLatin1(g.permission)));
}

void MainWindow::menuClicked(const QString &name) {
    if (name == QLatin1String("ReStart")) return ReStart_Click();
    if (name == QLatin1String("ReLogin")) return ReLogin_Click();
    if (name == QLatin1String("Exit")) {
        close();
        return;
    }
    if (name == QLatin1String("Calculate")) return startTool(platform::calculatorCandidates());
    if (name == QLatin1String("Note")) return startTool(platform::editorCandidates());
    if (name == QLatin1String("About")) return About_Click();
    openScreen(name, false);
}

void MainWindow::toolbarClicked(const QString &key) {
    if (key == QLatin1String("Calculate") || key == QLatin1String("Note") || key == QLatin1String("Exit"))
        return menuClicked(key);
    openScreen(key, true);
}

void MainWindow::openScreen(const QString &name, bool fromToolbar) {
    const ScreenEntry *e = fromToolbar ? registry_.byToolbarKey(name) : registry_.byMenu(name);
    // A screen not built yet: the entry is there, gated, and opens nothing.
    if (!e || !e->create) return;
    QDialog *dlg = nullptr;
    if (!runReporting(*ctx_.prompter, [&] { dlg = e->create(ctx_, this); }) || !dlg) return;
    const bool modal = fromToolbar ? e->modalFromToolbar : e->modalFromMenu;
    if (modal) {
        dlg->exec();
        delete dlg;
        // The shop may have been renamed meanwhile.
        refreshCaption();
    } else {
        dlg->setAttribute(Qt::WA_DeleteOnClose);
        dlg->show();
    }
}

void MainWindow::ReStart_Click() {
    if (!ctx_.prompter->question(QStringLiteral("如果重新开始了后 所有数据将丢失！慎重哦！"), kTitleHint)) return;
    runReporting(*ctx_.prompter, [&] { DataWipe(*ctx_.db, ctx_.session).run(); });
}

void MainWindow::ReLogin_Click() {
    ReLoginScreen dlg(ctx_, this);
    if (dlg.exec() == QDialog::Accepted) LoadPopdem();
}

void MainWindow::About_Click() {
    AboutScreen dlg(ctx_, this);
    dlg.exec();
}

void MainWindow::startTool(const QStringList &candidates) {
    for (const QString &program : candidates)
        if (startProgram(program)) return;
    ctx_.prompter->info(QStringLiteral("该工具可能已被系统删除！"), kAppTitle);
}

void MainWindow::closeEvent(QCloseEvent *event) {
    if (leaving_) {
        event->ignore();  // the backup on exit is still running
        return;
    }
    if (!ctx_.prompter->question(QStringLiteral("确认要退出系统吗？"), kTitleHint)) {
        event->ignore();
        return;
    }
    leaving_ = true;
    backupOnExit();
    leaving_ = false;
    event->accept();
}

void MainWindow::backupOnExit() {
    ExitBackup backup(*ctx_.db, ctx_.health);
    std::optional<BackupSetting> setting;
    try {
        setting = backup.readSetting();
    } catch (const DbError &) {
        return;  // an unreadable setting means no copy, and nothing is shown
    }
    if (!setting) {
        ctx_.prompter->info(QStringLiteral("数据库被修改，请联系软件商！"), kAppTitle);
        return;
    }
    if (!setting->save) return;
    // A damaged file is never copied over the good copies made before.
    if (ctx_.health && ctx_.health->damaged()) {
        ctx_.prompter->warning(kFileDamaged + QStringLiteral("\n本次没有备份，原有的备份文件都保留着。"), kAppTitle);
        return;
    }
    const QString source = backup.sourceFile();
    if (source.isEmpty()) {
        ctx_.prompter->warning(QStringLiteral("数据备份失败，本次没有生成备份文件！"), kAppTitle);
        return;
    }

    // The copy and its check run in a worker on connections of their own; the window
    // waits without freezing and shows the progress only when it takes a while.
    EngineProgress progress;
    QString failure;
    const QString target = setting->path;
    QThread *worker = QThread::create([&] {
        try {
            ExitBackup::rotateInto(source, target, &progress);
        } catch (const DbError &e) {
            failure = e.message();
        } catch (const std::exception &e) {
            failure = QString::fromLocal8Bit(e.what());
        }
    });
    QProgressDialog dialog(QStringLiteral("正在备份数据库，请稍候……"), QStringLiteral("取消"), 0, 1000);
    dialog.setObjectName(QStringLiteral("BackupProgress"));
    dialog.setWindowTitle(kAppTitle);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(400);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(50);
    connect(&poll, &QTimer::timeout, &dialog, [&] {
        if (dialog.wasCanceled()) progress.cancel.store(true);
        const int total = progress.total.load();
        // Copying fills the bar to 90%; the check takes the rest.
        int value = total > 0 ? static_cast<int>(900LL * progress.done.load() / total) : 0;
        if (progress.stage.load() == 1) {
            value = 950;
            dialog.setLabelText(QStringLiteral("正在校验备份文件，请稍候……"));
        }
        dialog.setValue(value);
    });
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    setEnabled(false);
    worker->start();
    poll.start();
    if (!worker->isFinished()) loop.exec();
    worker->wait();
    poll.stop();
    delete worker;
    dialog.hide();
    setEnabled(true);
    if (!failure.isEmpty()) {
        ctx_.prompter->plain(failure);
        ctx_.prompter->warning(QStringLiteral("数据备份失败，本次没有生成备份文件！"), kAppTitle);
    }
}

}  // namespace kestavion
