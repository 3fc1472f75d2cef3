// The requests sent to the online validators, byte for byte, with the clock fixed.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "checks/clock.h"
#include "checks/validator_request.h"
#include "support/qt_print.h"

namespace {

class FixedClock : public Clock {
public:
    QDateTime localNow() const override
    {
        return QDateTime(QDate(2003, 6, 2), QTime(9, 5, 7, 38));
    }
};

const QByteArray kBoundary = "---------------------------9_5_7_38_2003_6_2_23_Mon";
const QByteArray D = "--" + kBoundary;
const QString kHost = QStringLiteral("http://val.example:8080");

QByteArray part(const char *name, const char *value)
{
    return D + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
}

QByteArray filePart(const char *field, const QByteArray &name, const QByteArray &bytes)
{
    return D + "\r\nContent-Disposition: form-data; name=\"" + field + "\"; filename=\"" + name +
           "\"\r\nContent-Type: text/html\r\n\r\n" + bytes + "\r\n";
}

class ValidatorRequestTest : public ::testing::Test {
protected:
    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile f(m_dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    BuiltRequest build(int service, const QString &target, const UploadOptions &o,
                       const DocTypeOf &docTypeOf = {})
    {
        return buildValidatorRequest(service, target, o, kHost, m_clock, docTypeOf);
    }
    QTemporaryDir m_dir;
    FixedClock m_clock;
};

TEST(EncodeQueryValue, KeepsTheSafeBytesAndEscapesTheRest)
{
    const struct {
        QString text;
        bool plus;
        QByteArray encoded;
    } cases[] = {
        {QStringLiteral("http://server/a b?x=1&y=2"), true,
         "http%3A%2F%2Fserver%2Fa+b%3Fx%3D1%26y%3D2"},
        {QStringLiteral("a b"), false, "a%20b"},
        {QStringLiteral("!$,-._09AZaz~*'()+%"), true, "!$,-._09AZaz%7E%2A%27%28%29%2B%25"},
        {QStringLiteral("(detect automatically)"), true, "%28detect+automatically%29"},
        {QStringLiteral("日本"), true, "%E6%97%A5%E6%9C%AC"},  // byte by byte
        {QString(), true, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(encodeQueryValue(c.text, c.plus), c.encoded) << c.text.toStdString();
}

TEST(UploadBoundary, StampsTheLocalTimeWithIsoWeekAndWeekday)
{
    const struct {
        QDateTime at;
        QByteArray stamp;
    } cases[] = {
        {QDateTime(QDate(2003, 6, 2), QTime(9, 5, 7, 38)), "9_5_7_38_2003_6_2_23_Mon"},
        {QDateTime(QDate(2021, 1, 3), QTime(0, 0, 0, 0)), "0_0_0_0_2021_1_3_53_Sun"},  // ISO week of 2020
        {QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59, 999)), "23_59_59_999_2024_12_31_1_Tue"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(uploadBoundary(c.at), QByteArray(27, '-') + c.stamp);
}

TEST_F(ValidatorRequestTest, FileUploadBodiesOfEveryService)
{
    const QByteArray page = "<p>\xe6\x97\xa5\r\nx\n</p>";  // bytes go up unchanged
    const QString file = write(QStringLiteral("a.html"), page);
    UploadOptions defaults = UploadOptions::atCreation();
    UploadOptions chosen = defaults;
    chosen.markupCharset = QStringLiteral("utf-8 (Unicode, worldwide)");
    chosen.markupType = QStringLiteral("XHTML 1.1");
    chosen.showSource = chosen.showParseTree = chosen.showOutline = true;
    chosen.excludeAttributes = chosen.validateErrorPages = true;
    UploadOptions lintOff = defaults;
    lintOff.lintNumView = false;
    UploadOptions lintAll = defaults;
    lintAll.lintAllCheck = lintAll.lintNoReligious = lintAll.lintNoAccess = true;
    lintAll.lintTextBrowser = 2;
    UploadOptions wdgOff = defaults;
    wdgOff.wdgWarning = wdgOff.wdgShowInput = false;
    UploadOptions cssChosen = defaults;
    cssChosen.cssWarning = QStringLiteral("出力しない");
    cssChosen.cssProfile = QStringLiteral("TV profile");
    cssChosen.cssMedium = QStringLiteral("print");

    const struct {
        int service;
        UploadOptions options;
        QString url;
        QByteArray fields;
    } cases[] = {
        {0, defaults, "/check",
         part("charset", "(detect automatically)") + part("doctype", "inline") +
             part("verbose", "1")},
        {0, chosen, "/check",
         part("charset", "utf-8 (Unicode, worldwide)") + part("doctype", "XHTML 1.1") +
             part("ss", "1") + part("sp", "1") + part("outline", "1") + part("noatt", "1") +
             part("no200", "1") + part("verbose", "1")},
        {1, defaults, "/k16/htmllint/htmllint.cgi",
         part("Stat", "on") + part("Method", "File") + part("ViewSource", "on") +
             part("TextView", "no")},
        {1, lintOff, "/k16/htmllint/htmllint.cgi",
         part("Stat", "on") + part("Method", "File") + part("TextView", "no")},
        {1, lintAll, "/k16/htmllint/htmllint.cgi",
         part("Stat", "on") + part("Method", "File") + part("ViewSource", "on") +
             part("TextView", "w3m") + part("Pedantic", "on") + part("NoReligious", "on") +
             part("NoAccessibility", "on")},
        {2, defaults, "/cgi-bin/validate.cgi",
         part("charset", "Shift_JIS") + part("warnings", "yes") + part("input", "yes")},
        {2, wdgOff, "/cgi-bin/validate.cgi", part("charset", "Shift_JIS")},
        {3, defaults, "/css-validator/validator",
         part("warning", "2") + part("profile", "css2") + part("usermedium", "all")},
        {3, cssChosen, "/css-validator/validator",
         part("warning", "no") + part("profile", "tv") + part("usermedium", "print")},
    };
    const char *fileFields[] = {"uploaded_file", "File", "file", "file"};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.service);
        const BuiltRequest built = build(c.service, file, c.options);
        ASSERT_EQ(built.status, BuiltRequest::Status::Ready);
        EXPECT_TRUE(built.request.post);
        EXPECT_EQ(built.request.url, kHost + c.url);
        EXPECT_EQ(built.request.headers,
                  "Content-Type: multipart/form-data; boundary=" + kBoundary + "\r\n\r\n");
        EXPECT_EQ(built.request.postData,
                  filePart(fileFields[c.service], "a.html", page) + c.fields + D + "--\r\n");
    }
}

TEST_F(ValidatorRequestTest, FileEdgeCases)
{
    const QString empty = write(QStringLiteral("empty.html"), QByteArray());
    const QString spaced = write(QStringLiteral("a b.html"), "x");
    const QString quoted = write(QStringLiteral("say \"hi\"\r\n.html"), "x");
    const QString japanese = write(QStringLiteral("日本語.html"), "x");
    const QString unreadable = write(QStringLiteral("locked.html"), "secret");
    QFile::setPermissions(unreadable, QFileDevice::WriteOwner);
    const bool canReadAnyway = QFile(unreadable).open(QIODevice::ReadOnly);  // root
    const UploadOptions o = UploadOptions::atCreation();
    const QByteArray wdgFields = part("charset", "Shift_JIS") + part("warnings", "yes") +
                                 part("input", "yes") + D + "--\r\n";
    const struct {
        QString target;
        QByteArray name;
        QByteArray bytes;
    } cases[] = {
        // a file of 0 bytes: CR LF straight after the blank line, then the next delimiter
        {empty, "empty.html", ""},
        {QStringLiteral("file:///localhost") + m_dir.path() + QStringLiteral("/a%20b.html"),
         "a b.html", "x"},
        {QStringLiteral("file://") + spaced, "a b.html", "x"},
        {quoted, "say %22hi%22%0D%0A.html", "x"},
        {japanese, "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.html", "x"},
        {m_dir.filePath(QStringLiteral("missing.html")), "missing.html", ""},
        {unreadable, "locked.html", canReadAnyway ? "secret" : ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        const BuiltRequest built = build(2, c.target, o);
        ASSERT_EQ(built.status, BuiltRequest::Status::Ready);
        EXPECT_EQ(built.request.postData, filePart("file", c.name, c.bytes) + wdgFields);
    }
}

TEST_F(ValidatorRequestTest, RefusedTargetsSendNothing)
{
    QFile big(m_dir.filePath(QStringLiteral("big.html")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(50 * 1024 * 1024));
    big.close();
    const QString limit = write(QStringLiteral("limit.html"), QByteArray(kUploadLimit, 'a'));
    const UploadOptions o = UploadOptions::atCreation();
    EXPECT_EQ(build(0, big.fileName(), o).status, BuiltRequest::Status::TooLarge);
    EXPECT_EQ(build(0, limit, o).status, BuiltRequest::Status::Ready);
    for (const char *target : {"ftp://host/a.html", "WAIS://host", "gopher://host/1"})
        EXPECT_EQ(build(1, QLatin1String(target), o).status, BuiltRequest::Status::OtherProtocol)
            << target;
}

TEST_F(ValidatorRequestTest, GetAddressesOfEveryService)
{
    UploadOptions defaults = UploadOptions::atCreation();
    UploadOptions chosen = defaults;
    chosen.markupCharset = QStringLiteral("utf-8 (Unicode, worldwide)");
    chosen.markupType = QStringLiteral("XHTML 1.1");
    chosen.showSource = chosen.showParseTree = chosen.showOutline = true;
    chosen.excludeAttributes = chosen.validateErrorPages = true;
    chosen.verbose = false;
    UploadOptions lintOff = defaults;
    lintOff.lintNumView = false;
    UploadOptions lintAll = defaults;
    lintAll.lintAllCheck = lintAll.lintNoReligious = lintAll.lintNoAccess = true;
    lintAll.lintTextBrowser = 1;
    UploadOptions wdgOff = defaults;
    wdgOff.wdgWarning = wdgOff.wdgShowInput = false;
    const QString page = QStringLiteral("http://server/a b?x=1&y=2");
    const QString encoded = QStringLiteral("http%3A%2F%2Fserver%2Fa+b%3Fx%3D1%26y%3D2");
    const struct {
        int service;
        UploadOptions options;
        QString target;
        QString url;
    } cases[] = {
        {0, defaults, page,
         "/check?uri=" + encoded +
             "&charset=%28detect+automatically%29&doctype=inline&verbose=1"},
        // charset and doctype stay fixed whatever is chosen
        {0, chosen, page,
         "/check?uri=" + encoded +
             "&charset=%28detect+automatically%29&doctype=inline&ss=1&sp=1&outline=1"
             "&noatt=1&No200=1"},
        {0, defaults, QStringLiteral("HTTPS://host/page"),
         "/check?uri=HTTPS%3A%2F%2Fhost%2Fpage&charset=%28detect+automatically%29"
         "&doctype=inline&verbose=1"},
        {1, defaults, page,
         "/k16/htmllint/htmllint.cgi?Method=URL&Stat=on&URL=" + encoded +
             "&ViewSource=on&TextView=no"},
        {1, lintOff, page, "/k16/htmllint/htmllint.cgi?Method=URL&Stat=on&URL=" + encoded +
                               "&TextView=no"},
        {1, lintAll, page,
         "/k16/htmllint/htmllint.cgi?Method=URL&Stat=on&URL=" + encoded +
             "&ViewSource=on&Pedantic=on&NoReligious=on&NoAccessibility=on&TextView=lynx"},
        {2, defaults, page, "/cgi-bin/validate.cgi?url=" + encoded + "&warnings=yes&input=yes"},
        {2, wdgOff, page, "/cgi-bin/validate.cgi?url=" + encoded},
        {3, defaults, page,
         "/css-validator/validator?uri=" + encoded + "&warning=2&profile=css2&usermedium=all"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.url.toStdString());
        const BuiltRequest built = build(c.service, c.target, c.options);
        ASSERT_EQ(built.status, BuiltRequest::Status::Ready);
        EXPECT_FALSE(built.request.post);
        EXPECT_EQ(built.request.url, kHost + c.url);
        EXPECT_TRUE(built.request.postData.isEmpty());
        EXPECT_TRUE(built.request.headers.isEmpty());
    }
}

TEST_F(ValidatorRequestTest, DocumentsWithoutDtdGoToTheNewerChecker)
{
    const QByteArray page = "<!DOCTYPE html><title>t</title>";
    const QString file = write(QStringLiteral("h5.html"), page);
    UploadOptions o = UploadOptions::atCreation();
    o.showSource = o.showOutline = true;
    const struct {
        int service;
        QString docType;
        QString url;
        QByteArray body;
    } cases[] = {
        {0, QString(), "/nu/",
         filePart("file", "h5.html", page) + part("showsource", "yes") +
             part("showoutline", "yes") + D + "--\r\n"},
        {0, QStringLiteral("other"), "/nu/",
         filePart("file", "h5.html", page) + part("showsource", "yes") +
             part("showoutline", "yes") + D + "--\r\n"},
        {0, QStringLiteral("xhtml1s"), "/check",
         filePart("uploaded_file", "h5.html", page) + part("charset", "(detect automatically)") +
             part("doctype", "inline") + part("ss", "1") + part("outline", "1") +
             part("verbose", "1") + D + "--\r\n"},
        {2, QString(), "/cgi-bin/validate.cgi",
         filePart("file", "h5.html", page) + part("charset", "Shift_JIS") +
             part("warnings", "yes") + part("input", "yes") + D + "--\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE((c.url + c.docType).toStdString());
        QByteArray seen;
        const BuiltRequest built = build(c.service, file, o, [&](const QByteArray &bytes) {
            seen = bytes;
            return c.docType;
        });
        EXPECT_EQ(built.request.url, kHost + c.url);
        EXPECT_EQ(built.request.postData, c.body);
        if (c.service == 0) {
            EXPECT_EQ(seen, page);
        }
    }
    EXPECT_EQ(build(0, file, o, [](const QByteArray &) { return QString(); }).request.checker,
              QStringLiteral("Nu Html Checker"));
}

}  // namespace
