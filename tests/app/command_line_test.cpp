#include "app/command_line.h"

#include "support/test.h"

namespace {

class RecordingActions : public CommandLineActions {
public:
    QSet<QString> files;
    int selector = 0;
    QStringList calls;

    // Which switches preset what: upload_actions_test.
    void presetUploadOptions(const QString &file, bool, bool) override
    {
        calls << "preset " + file;
    }
    void sendToValidator(Validator v, const QString &target, bool separate) override
    {
        calls << QStringLiteral("upload%1 %2%3").arg(v).arg(target, separate ? " new" : "");
    }
    bool showsInBrowser() const override { return false; }
    void tidyInBrowser(const QString &target, int index) override
    {
        calls << QStringLiteral("browser%1 %2").arg(index).arg(target);
    }
    void checkCss(const QString &target) override { calls << "css " + target; }
    void checkLinks(const QString &target) override { calls << "link " + target; }
    bool tidyEntry(const QString &target, int entry) override
    {
        calls << QStringLiteral("entry%1 %2").arg(entry).arg(target);
        ++selector;
        return true;
    }
    void clearFileSelector() override
    {
        calls << "clear";
        selector = 0;
    }
    int fileSelectorCount() const override { return selector; }
    void showEntryReport(int entry) override { calls << QStringLiteral("show%1").arg(entry); }
    bool fileExists(const QString &path) const override { return files.contains(path); }
    void unresolved(const QString &text) override { calls << "unresolved " + text; }
    void refused(const QString &text) override { calls << "refused " + text; }
};

TEST(CommandLineTest, SwitchesAndDocuments)
{
    const struct {
        QStringList arguments;
        QStringList calls;
    } cases[] = {
        // One document: the default Tidy run; the selector is emptied after it.
        {{"/w/a.html"}, {"clear", "entry0 /w/a.html", "clear", "show0"}},
        // -ie is refused after -tidy and, beginning with "-", ignored.
        {{"-tidy", "-ie", "/w/a.html"}, {"clear", "entry0 /w/a.html", "clear", "show0"}},
        // Uploads: the markup validator never in a window of its own; the
        // switches are cleared after a document.
        {{"-w3c", "-wdg", "/w/a.html", "/w/b.html"},
         {"preset /w/a.html", "upload0 /w/a.html", "preset /w/a.html", "upload2 /w/a.html new",
          "clear", "entry0 /w/b.html", "clear", "show0"}},
        // A web address has no declarations to preset the upload from.
        {{"/cssu", "-LINT", "http://h/x.css"},
         {"upload3 http://h/x.css new", "upload1 http://h/x.css new"}},
        {{"-cssu", "/w/a.html"}, {"preset /w/a.html", "upload3 /w/a.html"}},
        // -all is Tidy, link and CSS; actions run in the fixed order.
        {{"-all", "/w/a.html"},
         {"css /w/a.html", "link /w/a.html", "clear", "entry0 /w/a.html", "clear", "show0"}},
        // -css after -ie is refused; -ie without the browser setting is an entry.
        {{"-ie", "-css", "/w/a.html"}, {"clear", "entry0 /w/a.html", "clear", "show0"}},
        {{"-op", "-tidy", "/w/a.html", "-css", "/w/b.html"},
         {"clear", "entry0 /w/a.html", "css /w/b.html", "clear", "show0"}},
        // Two documents stay in the selector with the first report shown.
        {{"/w/a.html", "/w/b.html"}, {"clear", "entry0 /w/a.html", "entry1 /w/b.html", "show0"}},
        // ftp, wais and gopher are refused; http is checked; unknown switches ignored.
        {{"ftp://h/a.html", "WAIS://h", "gopher://h", "-x", "/zz", "http://h/a.html"},
         {"refused ftp://h/a.html", "refused WAIS://h", "refused gopher://h", "clear",
          "entry0 http://h/a.html", "clear", "show0"}},
        // Existing files are files, whatever their names begin with.
        {{"ftp-notes.html", "httpd-notes.html"},
         {"clear", "entry0 ftp-notes.html", "entry1 httpd-notes.html", "show0"}},
        // Unquoted pieces of a path are joined; the switches wait for them.
        {{"-css", "/w/my", "docs/c.html"}, {"css /w/my docs/c.html"}},
        {{"/w/my", "docs/c.html", "/w/a.html"},
         {"clear", "entry0 /w/my docs/c.html", "entry1 /w/a.html", "show0"}},
        // Missing documents name nothing; the switch stays set (and unused).
        {{"-css", "/w/none.html"}, {"unresolved /w/none.html"}},
        // File addresses become paths (fileUrlPathCandidates: browser_capture_test).
        {{"file:///w/%E6%97%A5.html"}, {"clear", "entry0 /w/日.html", "clear", "show0"}},
        {{}, {}},
    };
    for (const auto &c : cases) {
        RecordingActions actions;
        actions.files = {"/w/a.html",  "/w/b.html",      "/w/my docs/c.html",
                         "/w/日.html", "ftp-notes.html", "httpd-notes.html"};
        processCommandLine(c.arguments, actions);
        EXPECT_EQ(actions.calls, c.calls) << c.arguments.join(u' ').toStdString();
    }
}

}  // namespace
