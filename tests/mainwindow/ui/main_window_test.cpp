#include "foundation/file_health.h"
#include "foundation/ui/screen_registry.h"
#include "mainwindow/exit_backup.h"
#include "mainwindow/ui/about_screen.h"
#include "mainwindow/ui/main_window.h"
#include "kit/fixtures.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

using namespace kestavion;
using namespace kestavion::test;

namespace {

const QStringList kGatedEntries = {
    QStringLiteral("UserManage"),  QStringLiteral("SellRole"),      QStringLiteral("ChangeShop"),
    QStringLiteral("BuyIn"),       QStringLiteral("SellOut"),       QStringLiteral("ClientBack"),
    QStringLiteral("ClientBackChange"), QStringLiteral("Question"), QStringLiteral("CompanyBack"),
    QStringLiteral("BlankOut"),    QStringLiteral("ChangePrice"),   QStringLiteral("OtherOut"),
    QStringLiteral("StoreQuery"),  QStringLiteral("SellQuery"),     QStringLiteral("SellGroup"),
    QStringLiteral("BuyInDetail"), QStringLiteral("ClientChangeQuery"), QStringLiteral("Back"),
    QStringLiteral("BlankOutQuery"), QStringLiteral("OtherOutQuery"), QStringLiteral("SizeRun"), QStringLiteral("DayAmount"),
    QStringLiteral("AmountTotal"), QStringLiteral("Profit"),        QStringLiteral("ReStart")};
const QStringList kOpenEntries = {
    QStringLiteral("ChagePassWord"), QStringLiteral("Colour"),   QStringLiteral("Size"),
    QStringLiteral("Name"),          QStringLiteral("Brand"),    QStringLiteral("feather"),
    QStringLiteral("Grade"),         QStringLiteral("Production"), QStringLiteral("BackResion"),
    QStringLiteral("ChangeResion"),  QStringLiteral("BlankOutResion"), QStringLiteral("OtherItem"),
    QStringLiteral("putin"),         QStringLiteral("BackUpDate"), QStringLiteral("ReLogin"),
    QStringLiteral("Exit"),          QStringLiteral("ProfitByNo"), QStringLiteral("Calculate"),
    QStringLiteral("Note"),          QStringLiteral("About")};
const QStringList kToolbarKeys = {
    QStringLiteral("BuyIn"),      QStringLiteral("SellOut"),    QStringLiteral("ClientBackChange"),
    QStringLiteral("ClientBack"), QStringLiteral("CompanyBack"), QStringLiteral("StoreQuery"),
    QStringLiteral("SellQuery"),  QStringLiteral("ChangeShop"), QStringLiteral("Calculate"),
    QStringLiteral("Note"),       QStringLiteral("Exit")};

class MainWindowTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        // A role with no permission at all and a user in it.
        db->exec(QStringLiteral("INSERT INTO Role (GUID,Name) VALUES ('{ROLE-NONE}','无权限')"));
        QStringList zero;
        for (const QString &k : kPermissionKeys) zero << k + QStringLiteral("=0");
        db->exec(QStringLiteral("UPDATE Role SET ") + zero.join(QLatin1Char(',')) + QStringLiteral(" WHERE GUID='{ROLE-NONE}'"));
        db->exec(QStringLiteral("INSERT INTO \"User\" (GUID,No,Name,pwd,RoleGUID) VALUES ('{U-9}','009','小李','pw','{ROLE-NONE}')"));
    }
    void expectGating(MainWindow &w, bool gatedOn) {
        for (const QString &n : kGatedEntries) {
            ASSERT_NE(w.menuEntry(n), nullptr) << n.toStdString();
            EXPECT_EQ(w.menuEntry(n)->isEnabled(), gatedOn) << n.toStdString();
        }
        for (const QString &n : kOpenEntries) {
            ASSERT_NE(w.menuEntry(n), nullptr) << n.toStdString();
            EXPECT_TRUE(w.menuEntry(n)->isEnabled()) << n.toStdString();
        }
        for (const QString &k : kToolbarKeys) {
            ASSERT_NE(w.toolbarButton(k), nullptr) << k.toStdString();
            const bool open = k == QLatin1String("Calculate") || k == QLatin1String("Note") || k == QLatin1String("Exit");
            EXPECT_EQ(w.toolbarButton(k)->isEnabled(), open || gatedOn) << k.toStdString();
        }
    }
    ScreenRegistry registry;
};

}  // namespace

TEST_F(MainWindowTest, MenuToolbarAndCaption) {
    MainWindow w(ctx, registry);
    EXPECT_EQ(w.objectName(), QStringLiteral("frmMain"));
    EXPECT_EQ(w.windowTitle(), kAppTitle + QStringLiteral("-测试鞋店"));
    QStringList tops;
    for (const char *name : {"System", "Operator", "Query", "Amount", "Other"})
        tops << child<QMenu>(&w, QString::fromLatin1(name))->title();
    EXPECT_EQ(tops, (QStringList{QStringLiteral("[系  统(&S)]"), QStringLiteral("[功  能(&O)]"), QStringLiteral("[查  询(&Q)]"),
                                 QStringLiteral("[结算统计(&A)]"), QStringLiteral("[帮  助(&H)]")}));
    QMenu *data = child<QMenu>(&w, QStringLiteral("Data"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->title(), QStringLiteral("4-数据维护"));
    QStringList items;
    for (QAction *a : data->actions()) items << a->text();
    EXPECT_EQ(items.join(QLatin1Char('|')),
              QStringLiteral("颜色|尺码|种类|品牌|面料|等级|产地|退货原因|调换原因|作废原因|其他支出项目"));
    QStringList system;
    for (QAction *a : child<QMenu>(&w, QStringLiteral("System"))->actions()) system << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(system.join(QLatin1Char('|')),
              QStringLiteral("1-用户管理|2-修改密码|3-系统参数设置|4-数据维护|5-店面管理|-|6-进货单数据导入|"
                             "7-数据备份设置|8-重新开始|9-更换用户|10-退出"));
    QStringList buttons;
    for (QAction *a : w.Toolbar->actions()) buttons << a->text() + QLatin1Char('=') + a->data().toString();
    EXPECT_EQ(buttons.join(QLatin1Char('|')),
              QStringLiteral("进 货=BuyIn|售  货=SellOut|客户调换=ClientBackChange|客户退货=ClientBack|厂商退货=CompanyBack|"
                             "库存查询=StoreQuery|售货查询=SellQuery|店面管理=ChangeShop|计算器=Calculate|记事本=Note|退 出=Exit"));
    EXPECT_EQ(w.Toolbar->objectName(), QStringLiteral("Toolbar"));
    expectGating(w, true);  // the administrator may do everything
}

TEST_F(MainWindowTest, RoleWithoutPermissionsLeavesOnlyUngatedEntries) {
    loginAs(QStringLiteral("009"), QStringLiteral("pw"));
    MainWindow w(ctx, registry);
    expectGating(w, false);
}

TEST_F(MainWindowTest, ChangeOfUserReappliesTheRoleButNotTheCaption) {
    MainWindow w(ctx, registry);
    const QString caption = w.windowTitle();

    // A refused change followed by 退出 keeps the administrator and the menus.
    onNextModal([](QWidget *dlg) {
        child<QLineEdit>(dlg, QStringLiteral("txtUserNo"))->setText(QStringLiteral("009"));
        child<QLineEdit>(dlg, QStringLiteral("txtUserPassWord"))->setText(QStringLiteral("nope"));
        child<QPushButton>(dlg, QStringLiteral("cmdLogin"))->click();
        child<QPushButton>(dlg, QStringLiteral("cmdExit"))->click();
    });
    w.menuEntry(QStringLiteral("ReLogin"))->trigger();
    EXPECT_EQ(prompter.lastText(), QStringLiteral("密码错误！"));
    EXPECT_EQ(ctx.session.user.No, QStringLiteral("admin"));
    expectGating(w, true);

    onNextModal([](QWidget *dlg) {
        EXPECT_EQ(dlg->objectName(), QStringLiteral("frmReLogin"));
        child<QLineEdit>(dlg, QStringLiteral("txtUserNo"))->setText(QStringLiteral("009"));
        child<QLineEdit>(dlg, QStringLiteral("txtUserPassWord"))->setText(QStringLiteral("pw"));
        child<QPushButton>(dlg, QStringLiteral("cmdLogin"))->click();
    });
    w.menuEntry(QStringLiteral("ReLogin"))->trigger();
    EXPECT_EQ(ctx.session.user.No, QStringLiteral("009"));
    expectGating(w, false);
    EXPECT_EQ(w.windowTitle(), caption);
}

TEST_F(MainWindowTest, EntriesOpenRegisteredScreens) {
    int created = 0;
    QPointer<QDialog> last;
    auto make = [&](AppContext &, QWidget *parent) {
        ++created;
        auto *d = new QDialog(parent);
        last = d;
        return d;
    };
    registry.add({QStringLiteral("CompanyBack"), QStringLiteral("CompanyBack"), false, true, make});
    registry.add({QStringLiteral("Colour"), QString(), true, true, make});
    MainWindow w(ctx, registry);

    // Modal from the menu, deleted when closed.
    onNextModal([](QWidget *dlg) { static_cast<QDialog *>(dlg)->reject(); });
    w.menuEntry(QStringLiteral("Colour"))->trigger();
    EXPECT_EQ(created, 1);
    EXPECT_TRUE(last.isNull());

    // The factory return: modeless from the menu, modal from the toolbar.
    w.menuEntry(QStringLiteral("CompanyBack"))->trigger();
    EXPECT_EQ(created, 2);
    ASSERT_FALSE(last.isNull());
    EXPECT_TRUE(last->isVisible());
    EXPECT_FALSE(last->isModal());
    last->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(last.isNull());

    onNextModal([](QWidget *dlg) { static_cast<QDialog *>(dlg)->reject(); });
    w.toolbarButton(QStringLiteral("CompanyBack"))->trigger();
    EXPECT_EQ(created, 3);
    EXPECT_TRUE(last.isNull());

    // An entry whose screen is not there yet opens nothing.
    w.menuEntry(QStringLiteral("Profit"))->trigger();
    w.toolbarButton(QStringLiteral("SellOut"))->trigger();
    EXPECT_EQ(created, 3);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainWindowTest, DataWipeAsksFirst) {
    plantIntake(*db, GoodsSpec{}, 50, QDate(2026, 12, 1));
    MainWindow w(ctx, registry);
    prompter.answer({false});
    w.menuEntry(QStringLiteral("ReStart"))->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Question);
    EXPECT_EQ(prompter.last()->text, QStringLiteral("如果重新开始了后 所有数据将丢失！慎重哦！"));
    EXPECT_EQ(prompter.last()->title, QStringLiteral("提示"));
    EXPECT_EQ(count(QStringLiteral("Store")), 1);

    prompter.answer({true});
    w.menuEntry(QStringLiteral("ReStart"))->trigger();
    EXPECT_EQ(prompter.messages.size(), 2u);  // no message follows
    EXPECT_EQ(count(QStringLiteral("Store")), 0);
    EXPECT_EQ(count(QStringLiteral("BuyPrice")), 0);
    EXPECT_EQ(count(QStringLiteral("\"User\"")), 2);
}

TEST_F(MainWindowTest, LeavingAsksAndBacksUpWhenSet) {
    const QString folder = path(QStringLiteral("bak"));
    const QString file = folder + QStringLiteral("/数据备份.mdb");
    db->exec(QStringLiteral("UPDATE FileSave SET dirpath=?, FileName='数据备份', IsSave=0"), {folder});
    MainWindow w(ctx, registry);
    w.show();

    prompter.answer({false});
    w.menuEntry(QStringLiteral("Exit"))->trigger();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(prompter.lastText(), QStringLiteral("确认要退出系统吗？"));
    EXPECT_EQ(prompter.last()->title, QStringLiteral("提示"));

    // Backup off: closes, no copy, nothing shown.
    prompter.clear();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_FALSE(QFile::exists(file));

    // Backup on: a keyed copy with the data.
    db->exec(QStringLiteral("UPDATE FileSave SET IsSave=-1"));
    plantGoods(*db, GoodsSpec{});
    w.show();
    w.toolbarButton(QStringLiteral("Exit"))->trigger();
    EXPECT_FALSE(w.isVisible());
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(SqliteDatabase::open(file)->scalar(QStringLiteral("SELECT count(*) FROM Store")).toInt(), 1);

    // No setting row: the message, no copy.
    QFile::remove(file);
    db->exec(QStringLiteral("DELETE FROM FileSave"));
    prompter.clear();
    w.show();
    EXPECT_TRUE(w.close());
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Info);
    EXPECT_EQ(prompter.last()->text, QStringLiteral("数据库被修改，请联系软件商！"));
    EXPECT_EQ(prompter.last()->title, kAppTitle);
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(MainWindowTest, BackupOnExitKeepsTheOlderCopyAndNeverCopiesADamagedFile) {
    const QString folder = path(QStringLiteral("bak"));
    const QString file = folder + QStringLiteral("/数据备份.mdb");
    db->exec(QStringLiteral("UPDATE FileSave SET dirpath=?, FileName='数据备份', IsSave=-1"), {folder});
    FileHealth health;
    ctx.health = &health;
    MainWindow w(ctx, registry);
    w.show();
    EXPECT_TRUE(w.close());
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_TRUE(w.isEnabled());

    // A second exit: the first copy moves aside under its time stamp, quietly.
    prompter.clear();
    w.show();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(ExitBackup::olderCopies(file).size(), 1);

    // The file found damaged: no copy, the copies made before stay, the user is told.
    health.set(FileHealth::State::Damaged);
    prompter.clear();
    w.show();
    EXPECT_TRUE(w.close());
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Warning);
    EXPECT_TRUE(prompter.lastText().startsWith(kFileDamaged));
    EXPECT_EQ(ExitBackup::olderCopies(file).size(), 1);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);
    ctx.health = nullptr;
}

TEST_F(MainWindowTest, FailedBackupIsReportedAndTheWindowStillCloses) {
    // A plain file where the backup folder should be: the folder cannot be made.
    const QString blocker = path(QStringLiteral("blocker"));
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    db->exec(QStringLiteral("UPDATE FileSave SET dirpath=?, IsSave=1"), {blocker + QStringLiteral("/sub")});
    MainWindow w(ctx, registry);
    w.show();
    EXPECT_TRUE(w.close());
    ASSERT_EQ(prompter.messages.size(), 3u);
    EXPECT_EQ(prompter.messages[1].kind, Prompter::Kind::Plain);
    EXPECT_EQ(prompter.messages[2].kind, Prompter::Kind::Warning);
    EXPECT_EQ(prompter.messages[2].text, QStringLiteral("数据备份失败，本次没有生成备份文件！"));
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindowTest, ToolsTryEachCandidateThenReport) {
    MainWindow w(ctx, registry);
    QStringList tried;
    w.startProgram = [&](const QString &p) {
        tried << p;
        return false;
    };
    w.menuEntry(QStringLiteral("Calculate"))->trigger();
    EXPECT_GE(tried.size(), 1);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Info);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("该工具可能已被系统删除！"));
    EXPECT_EQ(prompter.last()->title, kAppTitle);

    tried.clear();
    w.startProgram = [&](const QString &p) {
        tried << p;
        return tried.size() == 2;
    };
    w.toolbarButton(QStringLiteral("Note"))->trigger();
    EXPECT_EQ(tried.size(), 2);
    EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(MainWindowTest, AboutBoxAndSystemInformation) {
    MainWindow w(ctx, registry);
    bool seen = false;
    onNextModal([&](QWidget *dlg) {
        seen = true;
        EXPECT_EQ(dlg->objectName(), QStringLiteral("frmAbout"));
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("关于 ") + kAppTitle);
        EXPECT_EQ(child<QLabel>(dlg, QStringLiteral("lblTitle"))->text(), kAppTitle);
        EXPECT_EQ(child<QLabel>(dlg, QStringLiteral("lblVersion"))->text(),
                  QStringLiteral("版本 ") + QStringLiteral(KESTAVION_VERSION));
        EXPECT_EQ(child<QLabel>(dlg, QStringLiteral("lblDatabase"))->text(),
                  QStringLiteral("数据库：") + db->engineDescription() + QStringLiteral("，本机文件"));
        EXPECT_EQ(child<QPushButton>(dlg, QStringLiteral("cmdSysInfo"))->text(), QStringLiteral("系统信息(&S)..."));
        child<QPushButton>(dlg, QStringLiteral("cmdOk"))->click();
    });
    w.menuEntry(QStringLiteral("About"))->trigger();
    EXPECT_TRUE(seen);

    const QString info = SystemInfoDialog::lines(ctx).join(QLatin1Char('\n'));
    EXPECT_TRUE(info.contains(QString::fromLatin1(qVersion())));
    EXPECT_TRUE(info.contains(db->engineDescription()));
    EXPECT_TRUE(db->engineDescription().startsWith(QStringLiteral("SQLCipher")));
    EXPECT_TRUE(info.contains(QDir::toNativeSeparators(dbPath)));
}
