#include "admin/ui/admin_screens.h"
#include "admin/ui/dictionary_screen.h"
#include "foundation/dictionary.h"
#include "foundation/ui/screen_registry.h"
#include "kit/fixtures.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace kestavion;
using namespace kestavion::test;

namespace {

class DictionaryScreenTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        db->exec(QStringLiteral("DELETE FROM DataDictionary WHERE Item='颜色'"));
    }
    QStringList stored() { return Dictionary(*db).entries(QStringLiteral("颜色")); }
    QStringList shown(DictionaryScreen &s) {
        QStringList out;
        for (int i = 0; i < s.List->count(); ++i) out << s.List->item(i)->text();
        return out;
    }
    void type(DictionaryScreen &s, const QString &text) {
        s.txtItem->setText(text);
        QTest::keyClick(s.txtItem, Qt::Key_Return);
    }
};

}  // namespace

TEST_F(DictionaryScreenTest, AddRefusesEmptyAndExactDuplicates) {
    DictionaryScreen s(ctx);
    s.LoadIt(QStringLiteral("颜色"));
    s.show();
    EXPECT_EQ(s.windowTitle(), QStringLiteral("数据字典--颜色"));
    EXPECT_EQ(s.cmdAdd->text(), QStringLiteral("增 加(&A)"));

    type(s, QString());
    ASSERT_NE(prompter.last(), nullptr);
    EXPECT_EQ(prompter.last()->text, QStringLiteral("内容不能为空！"));
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Info);
    EXPECT_EQ(prompter.last()->title, kAppTitle);

    type(s, QStringLiteral("red"));
    type(s, QStringLiteral("Red"));            // letter case differs: allowed
    type(s, QStringLiteral("Rock 'n' roll"));  // stored exactly as typed
    EXPECT_EQ(s.List->currentRow(), 2);
    EXPECT_TRUE(s.txtItem->text().isEmpty());
    prompter.clear();
    type(s, QStringLiteral("red"));
    EXPECT_EQ(prompter.lastText(), QStringLiteral("该内容已经存在！"));
    EXPECT_EQ(s.txtItem->text(), QStringLiteral("red"));
    EXPECT_EQ(stored(), QStringList({QStringLiteral("red"), QStringLiteral("Red"), QStringLiteral("Rock 'n' roll")}));
}

TEST_F(DictionaryScreenTest, DeleteMovesTheSelection) {
    for (const char *c : {"a", "b'", "c", "d"}) Dictionary(*db).add(QStringLiteral("颜色"), QString::fromLatin1(c));
    Dictionary(*db).add(QStringLiteral("颜色"), QStringLiteral("c"));  // stored twice
    DictionaryScreen s(ctx);
    s.LoadIt(QStringLiteral("颜色"));
    s.show();
    EXPECT_EQ(shown(s).size(), 5);

    // Nothing selected: nothing happens.
    s.List->setCurrentRow(-1);
    QTest::mouseClick(s.cmdDel, Qt::LeftButton);
    EXPECT_EQ(stored().size(), 5);

    // A middle entry with an apostrophe: the next one takes its place.
    s.List->setCurrentRow(1);
    QTest::mouseClick(s.cmdDel, Qt::LeftButton);
    EXPECT_EQ(stored(), QStringList({QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("c")}));
    EXPECT_EQ(s.List->currentItem()->text(), QStringLiteral("c"));

    // A content stored twice goes together, from the table and the list.
    QTest::mouseClick(s.cmdDel, Qt::LeftButton);
    EXPECT_EQ(stored(), QStringList({QStringLiteral("a"), QStringLiteral("d")}));
    EXPECT_EQ(shown(s), stored());

    // The last of several: the new last is selected; the only one: nothing.
    s.List->setCurrentRow(1);
    QTest::mouseClick(s.cmdDel, Qt::LeftButton);
    EXPECT_EQ(s.List->currentRow(), 0);
    QTest::mouseClick(s.cmdDel, Qt::LeftButton);
    EXPECT_EQ(s.List->count(), 0);
    EXPECT_EQ(s.List->currentRow(), -1);
    EXPECT_TRUE(stored().isEmpty());
}

TEST_F(DictionaryScreenTest, HelperRefillsTheCallersComboAndMenuEntriesLoadTheirItem) {
    Dictionary(*db).add(QStringLiteral("颜色"), QStringLiteral("黑"));
    QComboBox combo;
    combo.addItem(QStringLiteral("旧"));
    onNextModal([](QWidget *w) {
        auto *s = qobject_cast<DictionaryScreen *>(w);
        ASSERT_NE(s, nullptr);
        s->txtItem->setText(QStringLiteral("白"));
        QTest::mouseClick(s->cmdAdd, Qt::LeftButton);
        s->accept();
    });
    openDictionaryFor(ctx, nullptr, QStringLiteral("颜色"), &combo);
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.currentText(), QStringLiteral("黑"));
    EXPECT_EQ(combo.itemText(1), QStringLiteral("白"));

    ScreenRegistry reg;
    registerAdminScreens(reg);
    const std::pair<const char *, const char *> expect[] = {{"Colour", "颜色"}, {"feather", "面料"},
                                                            {"BackResion", "退货原因"}, {"OtherItem", "其他支出项目"}};
    for (const char *m : {"Colour", "Size", "Name", "Brand", "feather", "Grade", "Production", "BackResion",
                          "ChangeResion", "BlankOutResion", "OtherItem"})
        EXPECT_TRUE(reg.has(QString::fromLatin1(m))) << m;
    for (const auto &[menu, item] : expect) {
        std::unique_ptr<QDialog> d(reg.byMenu(QString::fromLatin1(menu))->create(ctx, nullptr));
        EXPECT_EQ(static_cast<DictionaryScreen *>(d.get())->item(), QString::fromUtf8(item));
    }
}
