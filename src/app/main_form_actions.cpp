#include "main_form_actions.h"

#include <QHash>

const QVector<MainActionDef> &mainActionDefs()
{
    static const QVector<MainActionDef> defs{
        {QStringLiteral("Tidy"), QStringLiteral("Tidyの実行"), QStringLiteral("HTML Tidyを実行します。")},
        {QStringLiteral("Folder"), QStringLiteral("フォルダ一括"),
         QStringLiteral("指定フォルダにあるHTMLをまとめてチェックします。")},
        {QStringLiteral("InternetEx"), QStringLiteral("IE"),
         QStringLiteral("InternetExplorerからURLを取得してチェックします。")},
        {QStringLiteral("Opera"), QStringLiteral("Opera"),
         QStringLiteral("OperaからURLを取得してチェックします。")},
        {QStringLiteral("Mozilla"), QStringLiteral("Mozilla"),
         QStringLiteral("MozillaからURLを取得してチェックします。")},
        {QStringLiteral("NC"), QStringLiteral("Netscape"),
         QStringLiteral("NetscapeCommunicatorからURLを取得してチェックします。")},
        {QStringLiteral("CSS"), QStringLiteral("CSS"), QString()},
        {QStringLiteral("LinkCheck"), QStringLiteral("LinkCheck"), QString()},
        {QStringLiteral("ColorChk"), QStringLiteral("ColorChk"), QString()},
        {QStringLiteral("Table"), QStringLiteral("Table"), QString()},
        {QStringLiteral("Gray"), QStringLiteral("Gray"), QString()},
        {QStringLiteral("W3CExe"), QStringLiteral("W3CExe"), QString()},
        {QStringLiteral("LintExe"), QStringLiteral("LintExe"), QString()},
        {QStringLiteral("WDGExe"), QStringLiteral("WDGExe"), QString()},
        {QStringLiteral("CSSExe"), QStringLiteral("CSSExe"), QString()},
        {QStringLiteral("ChmOpen"), QStringLiteral("ChmOpen"), QString()},
        {QStringLiteral("OpenURL1"), QStringLiteral("OpenURL1"), QString()},
        {QStringLiteral("Nu"), QStringLiteral("HTML5チェック(ローカル)"),
         QStringLiteral("Nu Html CheckerでHTML5の文書をこのコンピュータの中でチェックします。")},
    };
    return defs;
}

const QVector<MenuEntryDef> &checkMenuEntries(const QString &submenu)
{
    static const QHash<QString, QVector<MenuEntryDef>> menus{
        {QStringLiteral("文法チェック"),
         {
             {QStringLiteral("HTMLTidy1"), QStringLiteral("&HTML Tidy"),
              QStringLiteral("HTML Tidyを実行します。"), QStringLiteral("Tidy")},
             {QStringLiteral("Folder1"), QStringLiteral("フォルダ一括(&F)"),
              QStringLiteral("HTML Tidyで指定フォルダのHTMLをまとめてチェックします。"),
              QStringLiteral("Folder")},
             {QStringLiteral("CSS1"), QStringLiteral("&CSSチェック"),
              QStringLiteral("CSS Validatorを実行します。"), QStringLiteral("CSS")},
             {QStringLiteral("Link1"), QStringLiteral("リンクチェック(&L)"),
              QStringLiteral("リンクチェックを実行します。"), QStringLiteral("LinkCheck")},
         }},
        {QStringLiteral("ブラウザ"),
         {
             {QStringLiteral("InternetExplorer1"), QStringLiteral("&Internet Explorer"),
              QStringLiteral("IEに表示されているHTMLをチェックします。"),
              QStringLiteral("InternetEx")},
             {QStringLiteral("Opera1"), QStringLiteral("&Opera"),
              QStringLiteral("Operaに表示されているHTMLをチェックします。"), QStringLiteral("Opera")},
             {QStringLiteral("Mozilla1"), QStringLiteral("&Mozilla"),
              QStringLiteral("Mozillaに表示されているHTMLをチェックします。"),
              QStringLiteral("Mozilla")},
             {QStringLiteral("NetscapeCommunicator1"), QStringLiteral("&Netscape Communicator"),
              QStringLiteral("Netscapeに表示されているHTMLをチェックします。"), QStringLiteral("NC")},
         }},
        {QStringLiteral("アップロード"),
         {
             {QStringLiteral("W3CMarkupValidator1"), QStringLiteral("&W3C Markup Validator"),
              QStringLiteral("W3C Markup Validatorへファイルをアップロードしてチェックします。"),
              QStringLiteral("W3CExe")},
             {QStringLiteral("AnotherHTMLLint1"), QStringLiteral("&Another HTML Lint"),
              QStringLiteral("Another HTML Lintへファイルをアップロードしてチェックします。"),
              QStringLiteral("LintExe")},
             {QStringLiteral("WDGHTMLValidator1"), QStringLiteral("W&DG HTML Validator"),
              QStringLiteral("WDG HTML Validatorへファイルをアップロードしてチェックします。"),
              QStringLiteral("WDGExe")},
             {QStringLiteral("CSSValidator1"), QStringLiteral("&CSS Validator"),
              QStringLiteral("CSS Validatorへファイルをアップロードしてチェックします。"),
              QStringLiteral("CSSExe")},
         }},
        {QStringLiteral("その他"),
         {
             {QStringLiteral("ColorContrast1"), QStringLiteral("コントラストチェック(&C)..."),
              QStringLiteral("色の明度差と色差をチェックできます。"), QStringLiteral("ColorChk")},
             {QStringLiteral("GrayScale1"), QStringLiteral("グレイスケール表示(&G)..."),
              QStringLiteral("画像をグレイスケール表示します。"), QStringLiteral("Gray")},
             {QStringLiteral("TableLine1"), QStringLiteral("テーブル線形化(&T)"),
              QStringLiteral("テーブルを線形化して表示します。"), QStringLiteral("Table")},
         }},
        {QString(),
         {
             {QStringLiteral("URL1"), QStringLiteral("&URLの入力"),
              QStringLiteral("指定されたURLをチェックします。"), QStringLiteral("OpenURL1")},
         }},
    };
    static const QVector<MenuEntryDef> none;
    const auto it = menus.constFind(submenu);
    return it == menus.constEnd() ? none : *it;
}

const QVector<ToolButtonDef> &toolButtonDefs()
{
    static const QVector<ToolButtonDef> defs{
        {QStringLiteral("ToolButton1"), QStringLiteral("Tidy"), QStringLiteral("T"),
         QStringLiteral("HTML Tidyを実行します。"), false},
        {QStringLiteral("ToolButton2"), QStringLiteral("Folder"), QStringLiteral("F"),
         QStringLiteral("HTML Tidyで指定フォルダのHTMLをまとめてチェックします。"), false},
        {QStringLiteral("ToolButton3"), QStringLiteral("CSS"), QStringLiteral("CSS"),
         QStringLiteral("CSS Validatorを実行します。"), false},
        {QStringLiteral("ToolButton4"), QStringLiteral("LinkCheck"), QStringLiteral("L"),
         QStringLiteral("リンクチェックを実行します。"), false},
        {QStringLiteral("ToolButton5"), QStringLiteral("InternetEx"), QStringLiteral("IE"),
         QStringLiteral("IEに表示されているHTMLをチェックします。"), true},
        {QStringLiteral("ToolButton6"), QStringLiteral("Opera"), QStringLiteral("Op"),
         QStringLiteral("Operaに表示されているHTMLをチェックします。"), false},
        {QStringLiteral("ToolButton7"), QStringLiteral("Mozilla"), QStringLiteral("Mz"),
         QStringLiteral("Mozillaに表示されているHTMLをチェックします。"), false},
        {QStringLiteral("ToolButton8"), QStringLiteral("NC"), QStringLiteral("NS"),
         QStringLiteral("Netscapeに表示されているHTMLをチェックします。"), false},
        {QStringLiteral("ToolButton9"), QStringLiteral("ColorChk"), QStringLiteral("C"),
         QStringLiteral("色の明度差と色差をチェックできます。"), true},
        {QStringLiteral("ToolButton10"), QStringLiteral("Gray"), QStringLiteral("G"),
         QStringLiteral("画像をグレイスケール表示します。"), false},
        {QStringLiteral("ToolButton11"), QStringLiteral("Table"), QStringLiteral("Tb"),
         QStringLiteral("テーブルを線形化して表示します。"), false},
    };
    return defs;
}
