#include "foundation/ui/screen_registry.h"
#include "intake/sheet_reader.h"
#include "intake/ui/delivery_import_screen.h"
#include "intake/ui/intake_screens.h"
#include "kit/fixtures.h"

#include <QApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace kestavion;
using namespace kestavion::test;

namespace {

QString fixture(const char *name) { return QStringLiteral(KESTAVION_INTAKE_DATA "/") + QLatin1String(name); }

class DeliveryImportScreenTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        screen = std::make_unique<DeliveryImportScreen>(ctx);
        screen->chooseFile = [this] { return chosen; };
        screen->show();
        QApplication::setActiveWindow(screen.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    }
    void choose(const QString &path) {
        chosen = path;
        QTest::mouseClick(screen->cmdSelect, Qt::LeftButton);
    }
    QString chosen;
    std::unique_ptr<DeliveryImportScreen> screen;
};

}  // namespace

TEST_F(DeliveryImportScreenTest, OpensFromItsMenuWithTheDefaultLayout) {
    ScreenRegistry registry;
    registerIntakeScreens(registry);
    ASSERT_TRUE(registry.has(QStringLiteral("putin")));
    std::unique_ptr<QDialog> fromMenu(registry.byMenu(QStringLiteral("putin"))->create(ctx, nullptr));
    EXPECT_EQ(fromMenu->objectName(), QStringLiteral("frmPutIn"));
    EXPECT_EQ(fromMenu->windowTitle(), QStringLiteral("数据导入"));

    DeliveryImportScreen &s = *screen;
    EXPECT_EQ(s.Frame1->title(), QStringLiteral("设 置"));
    const std::pair<const char *, const char *> defaults[] = {
        {"txtBeginRow", "4"},  {"txtEndrow", ""},     {"txtSizeBCol", "6"},   {"txtSizeECol", "15"},
        {"txtColourRow", "3"}, {"txtTypeNoCol", "2"}, {"txtBrandCol", "1"},   {"txtNameCol", "3"},
        {"txtColourCol", "5"}, {"txtLeatherCol", ""}, {"txtLevelCol", ""},    {"txtProductCol", ""},
        {"txtPriceCol", "17"}, {"txtSellPriceCol", "18"}};
    for (const auto &[name, text] : defaults) {
        QLineEdit *box = child<QLineEdit>(&s, QString::fromLatin1(name));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QString::fromLatin1(text)) << name;
    }
    QStringList labels;
    for (QLabel *l : s.Frame1->findChildren<QLabel *>()) labels << l->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("数据结束行：")));
    EXPECT_TRUE(labels.contains(QStringLiteral("零售价列号：")));
    EXPECT_EQ(s.DT->date(), QDate(2026, 12, 9));
    EXPECT_TRUE(s.txtFileName->isReadOnly());
    EXPECT_FALSE(s.cmdPutIn->isEnabled());
    EXPECT_FALSE(s.ProgressBar->isVisible());

    // Cancelling the dialog changes nothing; a broken file says so and opens nothing.
    choose(QString());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_FALSE(s.cmdPutIn->isEnabled());
    choose(fixture("truncated.xlsx"));
    EXPECT_EQ(prompter.lastText(), sheetmessages::kUnreadable);
    EXPECT_EQ(prompter.messages.back().kind, Prompter::Kind::Warning);
    EXPECT_FALSE(s.cmdPutIn->isEnabled());
    EXPECT_TRUE(s.txtFileName->text().isEmpty());

    // A good file: the import button comes on and the focus goes to the end row.
    choose(fixture("delivery_note.xls"));
    EXPECT_TRUE(s.cmdPutIn->isEnabled());
    EXPECT_TRUE(s.txtFileName->text().endsWith(QStringLiteral("delivery_note.xls")));
    EXPECT_EQ(QApplication::focusWidget(), s.txtEndrow);
    // Enter runs on through the settings and the date to the import button.
    for (int i = 0; i < 13; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), s.DT);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), s.cmdPutIn);
}

TEST_F(DeliveryImportScreenTest, ImportReportsSuccessOnlyAfterTheCommitAndLetsTheFileGo) {
    DeliveryImportScreen &s = *screen;
    choose(fixture("delivery_note.xlsx"));
    // No end row: asked for, the file stays open, the focus on the box.
    QTest::mouseClick(s.cmdPutIn, Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("请输入结束行！"));
    EXPECT_EQ(prompter.messages.back().kind, Prompter::Kind::Info);
    EXPECT_EQ(prompter.messages.back().title, kAppTitle);
    EXPECT_EQ(QApplication::focusWidget(), s.txtEndrow);
    EXPECT_TRUE(s.cmdPutIn->isEnabled());

    s.txtEndrow->setText(QStringLiteral("10"));
    s.DT->setDate(QDate(2026, 12, 1));
    int shown = 0;
    QObject::connect(s.ProgressBar, &QProgressBar::valueChanged, &s, [&] { shown += s.ProgressBar->isVisible() ? 1 : 0; });
    QTest::keyClick(s.cmdPutIn, Qt::Key_Return);  // Enter on the button imports
    EXPECT_EQ(prompter.lastText(), QStringLiteral("导入成功!"));
    EXPECT_EQ(prompter.messages.back().kind, Prompter::Kind::Exclamation);
    EXPECT_EQ(prompter.messages.back().title, kAppTitle);
    EXPECT_GT(shown, 1);
    EXPECT_FALSE(s.ProgressBar->isVisible());
    EXPECT_EQ(count("Store"), 21);
    EXPECT_EQ(count("StoreDetail", "DateTime='2026-12-01'"), 21);
    // A further import needs the file chosen again.
    EXPECT_FALSE(s.cmdPutIn->isEnabled());
    EXPECT_FALSE(s.hasOpenFile());
}

TEST_F(DeliveryImportScreenTest, AFaultyCellOrARejectedStatementWritesNothingAndLetsTheFileGo) {
    DeliveryImportScreen &s = *screen;
    choose(fixture("delivery_note.xls"));
    s.txtEndrow->setText(QStringLiteral("13"));
    QTest::mouseClick(s.cmdPutIn, Qt::LeftButton);
    EXPECT_TRUE(prompter.lastText().startsWith(QStringLiteral("第12行第17列（Q12）的进价是空的")));
    EXPECT_EQ(count("Store"), 0);
    EXPECT_FALSE(s.hasOpenFile());
    EXPECT_FALSE(s.cmdPutIn->isEnabled());

    // The engine refuses the tenth Goods: its text is shown, the rest rolled back.
    db->exec(QStringLiteral("CREATE TRIGGER tenth BEFORE INSERT ON Store WHEN (SELECT COUNT(*) FROM Store)=9 "
                            "BEGIN SELECT RAISE(ABORT,'disk full'); END"));
    choose(fixture("delivery_note.xls"));
    s.txtEndrow->setText(QStringLiteral("10"));
    prompter.clear();
    QTest::mouseClick(s.cmdPutIn, Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages.back().kind, Prompter::Kind::Plain);
    EXPECT_TRUE(prompter.lastText().contains(QStringLiteral("disk full")));
    EXPECT_EQ(count("Store"), 0);
    EXPECT_EQ(count("BuyPrice"), 0);
    EXPECT_FALSE(s.ProgressBar->isVisible());
    EXPECT_FALSE(s.hasOpenFile());
}
