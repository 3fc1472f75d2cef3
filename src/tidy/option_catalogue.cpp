#include "tidy/option_catalogue.h"

#include <QHash>

namespace {

using G = OptionGroup;
using K = OptionKind;
using M = ChoiceMatch;

enum HintStyle { Bar, NoBar, Hidden };

// One row of the table below; texts are UTF-8.
struct Row {
    OptionGroup group;
    const char *name;
    OptionKind kind;
    const char *initial;
    const char *control;
    const char *hint;
    HintStyle style;
    const char *choices = nullptr;  // items separated by "|"
    const char *fallback = nullptr;
    ChoiceMatch match = ChoiceMatch::Exact;
    int maximum = 0;
    const char *atCreation = nullptr;  // the control's value before a first start or a file sets it
};

constexpr const char *kEncodings =
    "ascii|latin0|latin1|raw|utf8|iso2022|mac|win1252|utf16|utf16le|utf16be|ibm858|big5|shiftjis";

// File order. A hint with a bar has an empty short part, so only the status
// bar shows it; the two without a bar are also the tool tip.
const Row kRows[] = {
    // Page "HTML,XML"
    {G::HtmlXml, "add-xml-decl", K::Boolean, "false", "add_xml_deci", "XML宣言を追加する", Bar},
    {G::HtmlXml, "add-xml-space", K::Boolean, "false", "add_xml_space",
     "xml:space=\"preserve\" 属性を追加する", Bar},
    {G::HtmlXml, "assume-xml-procins", K::Boolean, "false", "assume_xml_procins",
     "ターミネーターとして\"?>\"を必要とするようにパーサーを変える", Bar},
    {G::HtmlXml, "bare", K::Boolean, "false", "bare",
     "MS Word2000の文書からMS独自タグを削除、non-breaking spacesを通常のスペースに置換", Bar},
    {G::HtmlXml, "break-before-br", K::Boolean, "false", "break_before_br", "BR要素の前で改行する",
     Bar},
    {G::HtmlXml, "clean", K::Boolean, "false", "clean", "視覚的な要素をスタイルへ置換する", Bar},
    {G::HtmlXml, "drop-empty-paras", K::Boolean, "true", "drop_empty_paras",
     "空の段落(P要素)の破棄", Bar},
    {G::HtmlXml, "drop-font-tags", K::Boolean, "false", "drop_font_tags", "Font,Centerの破棄",
     NoBar},
    {G::HtmlXml, "drop-proprietary-attributes", K::Boolean, "false", "drop_proprietary_attributes",
     "MS data binding属性などの属性を取り除く", Bar},
    {G::HtmlXml, "enclose-block-text", K::Boolean, "false", "enclose_block_text",
     "HTML Looseで混合が許可されている要素の中のテキストをP要素で囲む", Bar},
    {G::HtmlXml, "enclose-text", K::Boolean, "false", "enclose_text", "Bodyの中のテキストをPで囲む",
     Bar},
    {G::HtmlXml, "escape-cdata", K::Boolean, "false", "escape_cdata",
     "CDATAセクションをノーマルテキストへと置換する", Bar},
    {G::HtmlXml, "fix-bad-comments", K::Boolean, "true", "fix_bad_comments",
     "コメントに隣接する不正な\"-\"を\"=\"へ置換", Bar},
    {G::HtmlXml, "fix-uri", K::Boolean, "true", "fix_uri",
     "属性値内のURI中の無効な文字をエスケープする", Bar},
    {G::HtmlXml, "hide-comments", K::Boolean, "false", "hide_comments",
     "Tidyによるコメントを出力しない", Bar},
    {G::HtmlXml, "hide-endtags", K::Boolean, "false", "hide_endtags",
     "省略可能な終了タグを省略する。XMLでは無効", Bar},
    {G::HtmlXml, "indent-cdata", K::Boolean, "false", "indent_cdata", "CDATAセクションのインデント",
     Bar},
    {G::HtmlXml, "input-xml", K::Boolean, "false", "input_xml", "XMLパーサーを使用する", Bar},
    {G::HtmlXml, "join-classes", K::Boolean, "false", "join_classes",
     "要素内で多くのクラスへの割り当てがあった場合、クラス名を結合する", Bar},
    {G::HtmlXml, "join-styles", K::Boolean, "true", "join_styles",
     "要素内で多くのスタイルがあった場合、それらを組み合わせる", Bar},
    {G::HtmlXml, "logical-emphasis", K::Boolean, "false", "logical_emphasis",
     "\"I\"を\"EM\"へ、\"B\"を\"STRONG\"へと置換する", Bar},
    {G::HtmlXml, "lower-literals", K::Boolean, "true", "lower_literals",
     "XHTMLで定義済みの属性値を小文字へと変換する", Bar},
    {G::HtmlXml, "ncr", K::Boolean, "true", "ncr", "数値参照を許可する", Bar},
    {G::HtmlXml, "numeric-entities", K::Boolean, "false", "numeric_entities",
     "\"&amp;, &lt;, &gt; and &quot;\"以外の実体を出力する", Bar},
    {G::HtmlXml, "output-xhtml", K::Boolean, "false", "output_xhtml", "XHTMLとして出力する", Bar},
    {G::HtmlXml, "output-xml", K::Boolean, "false", "output_xml", "XMLとして出力する", Bar},
    {G::HtmlXml, "quote-ampersand", K::Boolean, "true", "quote_ampersand", "&を\"&amp;\"として出力",
     Bar},
    {G::HtmlXml, "quote-marks", K::Boolean, "false", "quote_marks",
     "\"を\"&quot;\"として、'を\"&#39;\"として出力", NoBar},
    {G::HtmlXml, "quote-nbsp", K::Boolean, "false", "quote_nbsp",
     "non-breaking spacesを\"&nbsp;\"として出力", Bar},
    {G::HtmlXml, "replace-color", K::Boolean, "false", "replace_color",
     "属性値内の色の指定を数値から名前へ置換", Bar},
    {G::HtmlXml, "show-body-only", K::Boolean, "false", "show_body_only", "Bodyの内容だけ出力",
     Bar},
    {G::HtmlXml, "uppercase-attributes", K::Boolean, "false", "uppercase_attributes",
     "属性名を大文字へ置換する", Bar},
    {G::HtmlXml, "uppercase-tags", K::Boolean, "false", "uppercase_tags",
     "要素名を大文字へ置換する", Bar},
    {G::HtmlXml, "word-2000", K::Boolean, "false", "word_2000",
     "MS Word 2000で保存したドキュメントから余分なものを取り除く", Bar},
    {G::HtmlXml, "split", K::Boolean, "false", "split", "", Hidden},
    {G::HtmlXml, "slide-style", K::Text, "", "slide_style", "", Hidden},
    {G::HtmlXml, "alt-text", K::Text, "", "alt_text", "Alt属性がない場合に出力されるテキストを指定",
     Bar},
    {G::HtmlXml, "doctype", K::Doctype, "auto", "doctype", "出力する際のDoctypeを指定", Bar,
     "auto|omit|strict|loose|transitional|user specified fpi (string)", nullptr, M::LowerCase, 0},
    {G::HtmlXml, "new-blocklevel-tags", K::Text, "", "new_blocklevel_tags",
     "新しく定義したブロックレベル要素を\",\"で区切って書いてください", Bar},
    {G::HtmlXml, "new-empty-tags", K::Text, "", "new_empty_tags",
     "新しく定義した空要素を\",\"で区切って書いてください", Bar},
    {G::HtmlXml, "new-inline-tags", K::Text, "", "new_inline_tags",
     "新しく定義したインライン要素を\",\"で区切って書いてください", Bar},
    {G::HtmlXml, "new-pre-tags", K::Text, "", "new_pre_tags",
     "新しく定義した整形済みテキスト用の要素を\",\"で区切って書いてください", Bar},
    {G::HtmlXml, "repeated-attributes", K::Choice, "keep-last", "repeated_attributes",
     "属性が繰り返された場合に、最初と最後のどちらを残すか", Bar, "keep-first|keep-last",
     "keep-last", M::LowerCase, 0},

    // Page "Other", group "Pretty Print Options"
    {G::PrettyPrint, "indent", K::Choice, "auto", "indent",
     "ブロックレベル要素をインデントして出力", Bar, "auto|true|false", "auto", M::AutoBoolean, 0},
    {G::PrettyPrint, "indent-attributes", K::Boolean, "false", "indent_attributes",
     "改行して新しい行に属性値を出力する", Bar},
    {G::PrettyPrint, "literal-attributes", K::Boolean, "false", "literal_attributes",
     "属性値内の空白をそのままにする", Bar},
    {G::PrettyPrint, "markup", K::Boolean, "true", "markup",
     "きれいにマークアップされた文書を出力する", Bar},
    {G::PrettyPrint, "wrap-asp", K::Boolean, "true", "wrap_asp", "", Bar},
    {G::PrettyPrint, "wrap-attributes", K::Boolean, "false", "wrap_attributes", "", Bar},
    {G::PrettyPrint, "indent-spaces", K::Number, "2", "indent_spaces", "インデントする際の幅", Bar,
     nullptr, "2", M::Exact, 100},
    {G::PrettyPrint, "tab-size", K::Number, "4", "tab_size", "タブ幅", Bar, nullptr, "4", M::Exact,
     100},
    {G::PrettyPrint, "wrap", K::Number, "68", "wrap", "出力時の折り返し文字数", Bar, nullptr, "68",
     M::Exact, 1000},
    {G::PrettyPrint, "wrap-jste", K::Boolean, "true", "wrap_jste", "", Bar},
    {G::PrettyPrint, "wrap-php", K::Boolean, "true", "wrap_php", "", Bar},
    {G::PrettyPrint, "wrap-script-literals", K::Boolean, "false", "wrap_script_literals", "", Bar},
    {G::PrettyPrint, "wrap-sections", K::Boolean, "true", "wrap_sections", "", Bar},

    // Page "Other", group "Diagnostics Options"
    {G::Diagnostics, "show-errors", K::Number, "6", "show_errors",
     "Tidyがより一層のエラーを出力させる数の指定", Bar, nullptr, "0", M::Exact, 1000},
    {G::Diagnostics, "show-warnings", K::Boolean, "true", "show_warnings", "警告を出力するか", Bar},

    // Page "Other", group "Encoding Options"
    {G::Encoding, "ascii-chars", K::Boolean, "true", "ascii_chars",
     "Cleanオプションの動作の設定。\"&rdquo\"などを他の命名された文字実体として変換", Bar},
    // A first start passes the page's bytes through untouched: with ascii or
    // latin0 Tidy reads a Shift_JIS, EUC-JP or UTF-8 page as Latin text, warns
    // of invalid characters and writes every Japanese character as an entity.
    // The controls are created showing the older values, which a file without
    // these lines still gets; an unknown value read from a file falls back to
    // them as before.
    {G::Encoding, "char-encoding", K::Choice, "raw", "char_encoding", "入出力のエンコードを指定",
     Bar, kEncodings, "ascii", M::LowerCase, 0, "ascii"},
    {G::Encoding, "input-encoding", K::Choice, "raw", "input_encoding",
     "入力されるエンコードを指定", Bar, kEncodings, "latin0", M::LowerCase, 0, "latin1"},
    {G::Encoding, "output-encoding", K::Choice, "raw", "output_encoding",
     "出力される際のエンコードを指定", Bar, kEncodings, "ascii", M::LowerCase, 0, "ascii"},
    {G::Encoding, "output-bom", K::Choice, "auto", "output_bom", "Byte Order Markの出力", Bar,
     "auto|true|false", "auto", M::AutoBoolean, 0},
    {G::Encoding, "newline", K::Choice, "CRLF", "newline", "改行コードの指定", Bar, "LF|CRLF|CR",
     "CRLF", M::UpperCase, 0},

    // Page "Other", group "Miscellaneous Options"
    {G::Miscellaneous, "fix-backslash", K::Boolean, "true", "fix_backslash",
     "バックスラッシュキャラクタ(\\)を/へ置換", Bar},
    {G::Miscellaneous, "force-output", K::Boolean, "false", "force_output",
     "エラーが出たとしても出力をするべきかどうか", Bar},
    {G::Miscellaneous, "gnu-emacs", K::Boolean, "false", "gnu_emacs",
     "GNU-Emacsで簡単に表示できるように形式を変更", Bar},
    {G::Miscellaneous, "quiet", K::Boolean, "false", "quiet",
     "エラーや警告の数と概要、情報などを出力しない", Bar},
    {G::Miscellaneous, "keep-time", K::Boolean, "true", "keep_time",
     "Write-Backの際にファイルの時間をキープする", Bar},
    {G::Miscellaneous, "write-back", K::Boolean, "false", "write_back",
     "整理した文書をチェックしたファイルへと直接上書きする", Bar},
    {G::Miscellaneous, "tidy-mark", K::Boolean, "true", "tidy_mark",
     "Tidyでチェックしたことを示すものをMeta要素で挿入するか", Bar},

    // Page "Other", group "Accessibility"
    {G::Accessibility, "css-prefix", K::Text, "", "css_prefix", "CSSで使用する接頭語を指定", Bar},
    {G::Accessibility, "accessibility-check", K::Choice, "0", "accessibility_check",
     "アクセシビリティチェックの優先度を指定", Bar, "0|1|2|3", "0", M::Exact, 0},
};

TidyOption fromRow(const Row &row)
{
    TidyOption option;
    option.name = QString::fromUtf8(row.name);
    option.kind = row.kind;
    option.group = row.group;
    if (row.choices)
        option.choices = QString::fromUtf8(row.choices).split(u'|');
    option.initial = QString::fromUtf8(row.initial);
    option.atCreation = row.atCreation ? QString::fromUtf8(row.atCreation) : option.initial;
    option.fallback = row.fallback ? QString::fromUtf8(row.fallback) : QString();
    option.match = row.match;
    option.maximum = row.maximum;
    option.control = QString::fromUtf8(row.control);
    option.hint = QString::fromUtf8(row.hint);
    option.hintHasBar = row.style != NoBar;
    option.hidden = row.style == Hidden;
    return option;
}

const QHash<QString, int> &indexByName()
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> map;
        const QVector<TidyOption> &catalogue = tidyOptionCatalogue();
        for (int i = 0; i < catalogue.size(); ++i)
            map.insert(catalogue.at(i).name, i);
        return map;
    }();
    return index;
}

}  // namespace

const QVector<TidyOption> &tidyOptionCatalogue()
{
    static const QVector<TidyOption> catalogue = [] {
        QVector<TidyOption> options;
        for (const Row &row : kRows)
            options.append(fromRow(row));
        return options;
    }();
    return catalogue;
}

int tidyOptionIndex(const QString &name) { return indexByName().value(name, -1); }

const TidyOption *findTidyOption(const QString &name)
{
    const int index = tidyOptionIndex(name);
    return index < 0 ? nullptr : &tidyOptionCatalogue().at(index);
}

QString groupCaption(OptionGroup group)
{
    switch (group) {
    case OptionGroup::HtmlXml:
        return QStringLiteral("HTML,XML");
    case OptionGroup::PrettyPrint:
        return QStringLiteral("Pretty Print Options");
    case OptionGroup::Diagnostics:
        return QStringLiteral("Diagnostics Options");
    case OptionGroup::Encoding:
        return QStringLiteral("Encoding Options");
    case OptionGroup::Miscellaneous:
        return QStringLiteral("Miscellaneous Options");
    case OptionGroup::Accessibility:
        return QStringLiteral("Accessibility");
    }
    return QString();
}

QString groupContainerName(OptionGroup group)
{
    switch (group) {
    case OptionGroup::HtmlXml:
        return QStringLiteral("HTMLOptionPanel");
    case OptionGroup::PrettyPrint:
        return QStringLiteral("GroupBox2");
    case OptionGroup::Diagnostics:
        return QStringLiteral("GroupBox1");
    case OptionGroup::Encoding:
        return QStringLiteral("GroupBox3");
    case OptionGroup::Miscellaneous:
        return QStringLiteral("GroupBox4");
    case OptionGroup::Accessibility:
        return QStringLiteral("GroupBox5");
    }
    return QString();
}

QVector<OptionGroup> otherPageGroupOrder()
{
    return {OptionGroup::PrettyPrint, OptionGroup::Accessibility, OptionGroup::Diagnostics,
            OptionGroup::Encoding, OptionGroup::Miscellaneous};
}

QVector<OptionGroup> checkBoxSearchOrder()
{
    return {OptionGroup::HtmlXml,  OptionGroup::Diagnostics,   OptionGroup::PrettyPrint,
            OptionGroup::Encoding, OptionGroup::Miscellaneous, OptionGroup::Accessibility};
}

QStringList tidyEncodingList() { return QString::fromUtf8(kEncodings).split(u'|'); }

QString optionLabel(const TidyOption &option) { return option.name + QStringLiteral(" :"); }

QString shortHint(const TidyOption &option)
{
    return option.hintHasBar ? QString() : option.hint;
}

QString fpiEditName() { return QStringLiteral("fpiEdit"); }

QString fpiEditHint() { return QStringLiteral("fpiを指定した場合はここに入力してください"); }

QString fpiInitialText() { return QStringLiteral("Please input fpi."); }
