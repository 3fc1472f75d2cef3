// Saving and copying the result lists.
#include "core/message_list_model.h"
#include "support/actions_fixture.h"
#include "support/test.h"

TEST_F(ActionsTest, ResultListsCopyAndSaveGiveTheListTextAndNothingForAnEmptyList)
{
    view.saveFileAnswer = home.file("never.txt");
    actions.saveTidyResults();
    actions.copyTidyResults();
    actions.copyCssResults();
    EXPECT_EQ(view.notices, QStringList(3, "結果はありません。"));
    EXPECT_FALSE(QFileInfo::exists(view.saveFileAnswer));
    EXPECT_TRUE(view.clipboard.isEmpty());

    const QString only = "情報: チェックしたHTML: /home/u/a b.html";
    actions.tidyList().showMessageRow(only);
    actions.copyTidyResults();
    EXPECT_EQ(view.clipboard, only + "\r\n");
    EXPECT_EQ(view.notices.last(), "クリップボードにコピーしました。");
    // A name typed without an extension gets ".txt"; one with an extension keeps it.
    view.saveFileAnswer = home.file("結果");
    actions.saveTidyResults();
    EXPECT_EQ(TextCodec::decode(home.read("結果.txt")), only + "\r\n");
    view.saveFileAnswer = home.file("report.log");
    actions.saveTidyResults();
    EXPECT_FALSE(home.read("report.log").isEmpty());
    EXPECT_EQ(view.lastFilter, "テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*");
}

TEST(ResultLists, CssTextJoinsLineNumberAndMessage)
{
    MessageListModel css("行番号", "内容");
    css.setRows(
        {{"12", " color: 不正な値"}, {QString(), "エラーはありません。"}, {"3", QString()}});
    EXPECT_EQ(css.cssResultText(),
              "行番号: 12 color: 不正な値\r\nエラーはありません。\r\n行番号: 3\r\n");
    css.showMessageRow("x");
    ASSERT_EQ(css.rowCount(), 1);
    EXPECT_EQ(css.index(0, 0).data().toString() + "|" + css.index(0, 1).data().toString(), "|x");
}
