#include "foundation/file_health.h"
#include "foundation/refusal.h"
#include "foundation/ui/file_health_notice.h"
#include "foundation/ui/form_helpers.h"
#include "kit/fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace kestavion;
using namespace kestavion::test;

TEST_F(DbTest, DictionaryCombosFillSelectAndReportAFailedRead) {
    QComboBox plain, withAll;
    fillComboFromDictionary(ctx, QStringLiteral("等级"), &plain);
    EXPECT_EQ(plain.count(), 3);
    EXPECT_EQ(plain.currentText(), QStringLiteral("合格品"));
    fillComboFromDictionaryWithAll(ctx, QStringLiteral("等级"), &withAll);
    EXPECT_EQ(withAll.count(), 4);
    EXPECT_EQ(withAll.currentText(), QStringLiteral("全部"));

    // A list with no rows: the plain box is empty with nothing chosen, the other one
    // offers only "全部".
    fillComboFromDictionary(ctx, QStringLiteral("没有这一项"), &plain);
    EXPECT_EQ(plain.count(), 0);
    EXPECT_EQ(plain.currentIndex(), -1);
    fillComboFromDictionaryWithAll(ctx, QStringLiteral("没有这一项"), &withAll);
    EXPECT_EQ(withAll.count(), 1);
    EXPECT_EQ(withAll.currentText(), QStringLiteral("全部"));
    EXPECT_TRUE(prompter.messages.empty());

    // A read the engine rejects leaves the list empty and shows the engine's text.
    db->exec(QStringLiteral("DROP TABLE DataDictionary"));
    fillComboFromDictionary(ctx, QStringLiteral("等级"), &plain);
    EXPECT_EQ(plain.count(), 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].kind, Prompter::Kind::Plain);
    EXPECT_TRUE(prompter.messages[0].text.contains(QStringLiteral("DataDictionary"), Qt::CaseInsensitive))
        << prompter.messages[0].text.toStdString();
}

TEST(FormHelpers, EnterMovesToTheNextEnabledFieldAndDigitsOnlyRefusesSignAndPoint) {
    QDialog dlg;
    auto *a = new QLineEdit(&dlg);
    auto *off = new QLineEdit(&dlg);
    auto *b = new QLineEdit(&dlg);
    auto *layout = new QVBoxLayout(&dlg);
    layout->addWidget(a);
    layout->addWidget(off);
    layout->addWidget(b);
    off->setEnabled(false);
    EnterToTab::install({a, b});
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    a->setFocus();
    QTest::keyClick(a, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), b);  // the disabled field is passed over
    QTest::keyClick(b, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), a);  // and round again

    setNumericOnly(b, true);
    QTest::keyClicks(b, QStringLiteral("-1a2.3 4"));
    EXPECT_EQ(b->text(), QStringLiteral("1234"));
    setNumericOnly(b, false);
    QTest::keyClicks(b, QStringLiteral(".5"));
    EXPECT_EQ(b->text(), QStringLiteral("1234.5"));
}

TEST(FormHelpers, EnterOnAFocusedButtonClicksItAndNothingElse) {
    QDialog dlg;
    auto *box = new QLineEdit(&dlg);
    auto *ok = new QPushButton(QStringLiteral("确 定(&O)"), &dlg);
    auto *layout = new QVBoxLayout(&dlg);
    layout->addWidget(box);
    layout->addWidget(ok);
    disableAutoDefault(&dlg);
    EnterClicksButtons::install(&dlg);
    int clicks = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++clicks; });
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(clicks, 0);  // a field is no button
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    QTest::keyClick(ok, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks, 2);
}

TEST(FileHealthNotice, TellsOnceAndNeverInTheMiddleOfASale) {
    FileHealth health;
    ScriptedPrompter prompter;
    FileHealthNotice notice(health, prompter);
    EXPECT_FALSE(notice.poll());  // nothing found (yet)
    health.set(FileHealth::State::Damaged);
    QDialog till;
    till.setProperty(FileHealthNotice::kSaleInProgress, true);
    till.show();
    EXPECT_FALSE(notice.poll());
    EXPECT_TRUE(prompter.messages.empty());
    till.setProperty(FileHealthNotice::kSaleInProgress, false);  // the sale is done
    EXPECT_TRUE(notice.poll());
    EXPECT_TRUE(notice.poll());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, kFileDamaged);
    EXPECT_EQ(prompter.messages[0].kind, Prompter::Kind::Warning);
}

TEST(FormHelpers, RefusalsShowAloneAndADamagedFileIsNamedAfterTheEngineText) {
    ScriptedPrompter prompter;
    EXPECT_FALSE(runReporting(prompter, [] { throw Refusal(QStringLiteral("不行"), Refusal::Icon::Info, kAppTitle); }));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].kind, Prompter::Kind::Info);
    prompter.clear();
    EXPECT_FALSE(runReporting(prompter, [] { throw DbError(QStringLiteral("database disk image is malformed"), 11); }));
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].kind, Prompter::Kind::Plain);
    EXPECT_EQ(prompter.messages[1].text, kFileDamaged);
    prompter.clear();
    EXPECT_FALSE(runReporting(prompter, [] { throw DbError(QStringLiteral("UNIQUE constraint failed"), 19); }));
    EXPECT_EQ(prompter.messages.size(), 1u);
}
