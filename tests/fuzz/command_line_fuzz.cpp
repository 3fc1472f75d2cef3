// Arbitrary argument lists: entries are numbered without gaps, and only web
// addresses or names the file table knows are acted on.

#include "app/command_line.h"
#include "fuzz_target.h"

namespace {

class CheckingActions : public CommandLineActions {
public:
    QSet<QString> files{QStringLiteral("/a b.html"), QStringLiteral("/c.html")};
    int nextEntry = 0;
    int selector = 0;

    void check(const QString &target) const
    {
        ::check(files.contains(target) ||
                target.startsWith(QLatin1String("http"), Qt::CaseInsensitive));
    }
    // Only a local file has declarations to preset from.
    void presetUploadOptions(const QString &file, bool, bool) override
    {
        ::check(files.contains(file));
    }
    void sendToValidator(Validator v, const QString &target, bool) override
    {
        ::check(v >= MarkupValidator && v <= CssValidator);
        check(target);
    }
    bool showsInBrowser() const override { return selector % 2 == 1; }
    void tidyInBrowser(const QString &target, int index) override
    {
        ::check(index == kInternetExplorer || index == kOpera);
        check(target);
    }
    void checkCss(const QString &target) override { check(target); }
    void checkLinks(const QString &target) override { check(target); }
    bool tidyEntry(const QString &target, int entry) override
    {
        check(target);
        ::check(entry == nextEntry);
        // Every third entry fails to start and uses no number.
        if (target.size() % 3 == 0) return false;
        ++nextEntry;
        ++selector;
        return true;
    }
    void clearFileSelector() override { selector = 0; }
    int fileSelectorCount() const override { return selector; }
    void showEntryReport(int entry) override { ::check(entry == 0); }
    bool fileExists(const QString &path) const override { return files.contains(path); }
};

}  // namespace

void fuzzBytes(const QByteArray &bytes)
{
    // Arguments are separated by NUL bytes, as in a process's argument vector.
    QStringList arguments;
    for (const QByteArray &part : bytes.split('\0')) arguments << QString::fromUtf8(part);
    CheckingActions actions;
    processCommandLine(arguments, actions);
    (void)fileUrlToPath(QString::fromUtf8(bytes));
}
