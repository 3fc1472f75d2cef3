// Arbitrary argument lists through the command-line interpreter: it must
// never fault, run entries numbered 0, 1, 2 … without gaps, and act only on
// targets that are web addresses or names the file table knows.
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

#include "app/command_line.h"

namespace {

class CheckingActions : public CommandLineActions {
public:
    QSet<QString> files{QStringLiteral("/a b.html"), QStringLiteral("/c.html")};
    int nextEntry = 0;
    int selector = 0;

    void check(const QString &target) const
    {
        if (!files.contains(target) && !target.startsWith(QLatin1String("http"), Qt::CaseInsensitive))
            std::abort();
    }
    void presetUploadOptions(const QString &file, bool, bool) override { check(file); }
    void sendToValidator(Validator v, const QString &target, bool) override
    {
        if (v < MarkupValidator || v > CssValidator) std::abort();
        check(target);
    }
    bool showsInBrowser() const override { return selector % 2 == 1; }
    void tidyInBrowser(const QString &target, int index) override
    {
        if (index != kInternetExplorer && index != kOpera) std::abort();
        check(target);
    }
    void checkCss(const QString &target) override { check(target); }
    void checkLinks(const QString &target) override { check(target); }
    bool tidyEntry(const QString &target, int entry) override
    {
        check(target);
        if (entry != nextEntry) std::abort();
        // Every third entry fails to start and uses no number.
        if (target.size() % 3 == 0) return false;
        ++nextEntry;
        ++selector;
        return true;
    }
    void clearFileSelector() override { selector = 0; }
    int fileSelectorCount() const override { return selector; }
    void showEntryReport(int entry) override
    {
        if (entry != 0) std::abort();
    }
    bool fileExists(const QString &path) const override { return files.contains(path); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Arguments are separated by NUL bytes, as in a process's argument vector.
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QStringList arguments;
    for (const QByteArray &part : bytes.split('\0'))
        arguments << QString::fromUtf8(part);
    CheckingActions actions;
    processCommandLine(arguments, actions);
    (void)fileUrlToPath(QString::fromUtf8(bytes));
    return 0;
}
