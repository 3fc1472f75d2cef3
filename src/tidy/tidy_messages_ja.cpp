#include "tidy/tidy_messages_ja.h"

#include <QHash>
#include <QString>

// Glossary, kept the same throughout the table:
// element 要素; attribute 属性; start tag 開始タグ; end tag 終了タグ;
// character reference/entity 文字参照; declaration 宣言; DOCTYPE DOCTYPE宣言; value 値;
// missing ～がありません; discarding ～を破棄しました; inserting ～を挿入しました;
// unexpected 予期しない; unknown 不明な; proprietary 独自の; deprecated 非推奨の;
// nested 入れ子になった; implicit 暗黙の; anchor アンカー; table 表; frame フレーム;
// image 画像; link リンク; script スクリプト; style sheet スタイルシート;
// encoding 文字コード; whitespace 空白; comment コメント; content 内容;
// header (of table) 見出し.
//
// Accessibility messages keep their checkpoint number as Tidy prints it.
// No entry holds "%": the values are put in for {n} in one pass.

namespace {

const std::vector<TidyMessageJa> kEntries{
    // BEGIN ENTRIES
    {"DISCARDING_UNEXPECTED", "予期しない {1} を破棄しました"},
    {"INSERTING_TAG", "暗黙の <{1}> を挿入しました"},
    {"MISSING_ATTR_VALUE", "{1} の属性 \"{2}\" に値がありません"},
    {"MISSING_DOCTYPE", "<!DOCTYPE> 宣言がありません"},
    {"MISSING_ENDTAG_BEFORE", "{2} の前に </{1}> がありません"},
    {"MISSING_ENDTAG_FOR", "</{1}> がありません"},
    {"MISSING_TITLE_ELEMENT", "欠けていた 'title' 要素を挿入しました"},
    {"PROPRIETARY_ATTRIBUTE", "{1} に独自の属性 \"{2}\" があります"},
    {"TRIM_EMPTY_ELEMENT", "空の {1} を取り除きました"},
    {"UNKNOWN_ENTITY", "エスケープされていない & か、不明な文字参照 \"{1}\" です"},
    {"IMG_MISSING_ALT", "[1.1.1.1]: <img> に 'alt' テキストがありません"},
    {"IMG_MISSING_LONGDESC_DLINK", "[1.1.2.1]: <img> に 'longdesc' と d-link がありません"},
    {"INFORMATION_NOT_CONVEYED_IMAGE", "[2.1.1.1]: 情報が色だけで伝わるようになっていないか確かめてください (画像)"},
    // END ENTRIES
};

}  // namespace

const std::vector<TidyMessageJa> &tidyMessagesJa() { return kEntries; }

const TidyMessageJa *findTidyMessageJa(QStringView id)
{
    static const QHash<QString, const TidyMessageJa *> index = [] {
        QHash<QString, const TidyMessageJa *> byId;
        for (const TidyMessageJa &entry : kEntries)
            byId.insert(QString::fromLatin1(entry.id), &entry);
        return byId;
    }();
    return index.value(id.toString(), nullptr);
}
