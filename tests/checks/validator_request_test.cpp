// The requests sent to the online validators, byte for byte, with the clock fixed.
#include "checks/validator_request.h"

#include "checks/clock.h"
#include "support/test.h"

namespace {

class FixedClock : public Clock {
public:
    QDateTime localNow() const override { return QDateTime(QDate(2003, 6, 2), QTime(9, 5, 7, 38)); }
};

const QByteArray kBoundary = "---------------------------9_5_7_38_2003_6_2_23_Mon";
const QByteArray D = "--" + kBoundary;
const QString kHost = "http://val.example:8080";

QByteArray golden(const QString &name)
{
    return readWholeFile(testDataPath("validator_request_" + name + ".txt"));
}

// Every option of every service away from its default; a service reads only its own.
UploadOptions changedOptions()
{
    UploadOptions o = UploadOptions::atCreation();
    o.markupCharset = "utf-8 (Unicode, worldwide)";
    o.markupType = "XHTML 1.1";
    o.showSource = o.showParseTree = o.showOutline = true;
    o.excludeAttributes = o.validateErrorPages = true;
    o.verbose = o.lintNumView = o.wdgWarning = o.wdgShowInput = false;
    o.lintAllCheck = o.lintNoReligious = o.lintNoAccess = true;
    o.lintTextBrowser = 1;
    o.wdgCharset = "UTF-8";
    o.cssWarning = "出力しない";
    o.cssProfile = "TV profile";
    o.cssMedium = "print";
    return o;
}

const QString kPage = "http://server/a b?x=1&y=2";

class ValidatorRequestTest : public ::testing::Test {
protected:
    QString write(const QString &name, const QByteArray &bytes)
    {
        m_home.write(name, bytes);
        return m_home.file(name);
    }
    BuiltRequest build(int service, const QString &target,
                       const UploadOptions &o = UploadOptions::atCreation(),
                       const DocTypeOf &docTypeOf = {})
    {
        return buildValidatorRequest(service, target, o, kHost, m_clock, docTypeOf);
    }
    TempHome m_home;
    FixedClock m_clock;
    const UploadOptions m_defaults = UploadOptions::atCreation();
    const UploadOptions m_changed = changedOptions();
};

// The golden GET addresses pin one page address; these are the rest of the bytes,
// and the boundary's ISO-week edges (the goldens pin an ordinary date).
TEST(ValidatorRequestParts, QueryValuesAndBoundaryStamps)
{
    const struct {
        QString text;
        bool plus;
        QByteArray encoded;
    } cases[] = {
        {"a b", false, "a%20b"},
        {"!$,-._09AZaz~*'()+%", true, "!$,-._09AZaz%7E%2A%27%28%29%2B%25"},
        {"日本", true, "%E6%97%A5%E6%9C%AC"},  // byte by byte
        {QString(), true, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(encodeQueryValue(c.text, c.plus), c.encoded) << c.text.toStdString();
    const struct {
        QDateTime at;
        QByteArray stamp;
    } stamps[] = {
        // in the ISO week of 2020
        {QDateTime(QDate(2021, 1, 3), QTime(0, 0, 0, 0)), "0_0_0_0_2021_1_3_53_Sun"},
        {QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59, 999)), "23_59_59_999_2024_12_31_1_Tue"},
    };
    for (const auto &c : stamps) EXPECT_EQ(uploadBoundary(c.at), QByteArray(27, '-') + c.stamp);
}

TEST_F(ValidatorRequestTest, UploadsAndAddressesOfEveryService)
{
    const QByteArray page =
        "<meta charset=\"utf-8\"><p>\xe6\x97\xa5\r\nx\n</p>";  // bytes go up unchanged
    const QString file = write("a.html", page);
    const QString paths[] = {"/check", "/k16/htmllint/htmllint.cgi", "/cgi-bin/validate.cgi",
                             "/css-validator/validator"};
    // Each line of the golden: service, default|changed options, kPage's GET address;
    // the upload's body is validator_request_SERVICE_default|changed.txt.
    int rows = 0;
    for (const QByteArray &line : golden("get").trimmed().split('\n')) {
        SCOPED_TRACE(line.toStdString());
        const QList<QByteArray> f = line.split(' ');
        ASSERT_EQ(f.size(), 3);
        const int service = f[0].toInt();
        const UploadOptions &o = f[1] == "changed" ? m_changed : m_defaults;
        const BuiltRequest upload = build(service, file, o);
        ASSERT_EQ(upload.status, BuiltRequest::Status::Ready);
        EXPECT_TRUE(upload.request.post);
        EXPECT_EQ(upload.request.url, kHost + paths[service]);
        EXPECT_EQ(upload.request.headers,
                  "Content-Type: multipart/form-data; boundary=" + kBoundary + "\r\n\r\n");
        EXPECT_EQ(upload.request.postData, golden(QString::fromLatin1(f[0] + '_' + f[1])));
        const BuiltRequest get = build(service, kPage, o);
        EXPECT_FALSE(get.request.post);
        EXPECT_EQ(get.request.url, kHost + QString::fromLatin1(f[2]));
        EXPECT_TRUE(get.request.postData.isEmpty() && get.request.headers.isEmpty());
        ++rows;
    }
    EXPECT_EQ(rows, 8);
    EXPECT_EQ(build(0, "HTTPS://host/page").request.url,
              kHost +
                  "/check?uri=HTTPS%3A%2F%2Fhost%2Fpage&charset=%28detect+automatically%29"
                  "&doctype=inline&verbose=1");
}

TEST_F(ValidatorRequestTest, FileEdgeCases)
{
    const QString empty = write("empty.html", QByteArray());
    const QString spaced = write("a b.html", "x");
    const QString quoted = write(QStringLiteral("say \"hi\"\r\n.html"), "x");
    const QString japanese = write("日本語.html", "x");
    const struct {
        QString target;
        QByteArray name;
        QByteArray bytes;
    } cases[] = {
        // a file of 0 bytes: CR LF straight after the blank line, then the next delimiter
        {empty, "empty.html", ""},
        {"file:///localhost" + m_home.path() + "/a%20b.html", "a b.html", "x"},
        {"file://" + spaced, "a b.html", "x"},
        {quoted, "say %22hi%22%0D%0A.html", "x"},
        {japanese, "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.html", "x"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        const BuiltRequest built = build(2, c.target);
        ASSERT_EQ(built.status, BuiltRequest::Status::Ready);
        const QByteArray &body = built.request.postData;
        EXPECT_TRUE(body.contains("; filename=\"" + c.name + "\"\r\n")) << body.toStdString();
        EXPECT_TRUE(body.contains("\r\n\r\n" + c.bytes + "\r\n" + D)) << body.toStdString();
    }
}

// A page that declares no charset goes to the markup validator with the
// charset its bytes show; a declaration or the user's own choice stands.
TEST_F(ValidatorRequestTest, UndeclaredJapanesePagesNameTheirCharset)
{
    const QString text = "<p>日本語のページです。";
    UploadOptions chosen = m_defaults;
    chosen.markupCharset = "euc-jp (Japanese, Unix)";
    const QString detect = "(detect automatically)";
    const struct {
        QByteArray page;
        const UploadOptions &options;
        QString charset;
    } cases[] = {
        {inEncoding(text, "CP932"), m_defaults, "shift_jis (Japanese, Win/Mac)"},
        {inEncoding(text, "EUC-JP"), m_defaults, "euc-jp (Japanese, Unix)"},
        {inEncoding(text, "ISO-2022-JP"), m_defaults, "iso-2022-jp (Japanese, email)"},
        {text.toUtf8(), m_defaults, "utf-8 (Unicode, worldwide)"},
        {inEncoding("<meta charset=\"Shift_JIS\">" + text, "CP932"), m_defaults, detect},
        {inEncoding(text, "CP932"), chosen, chosen.markupCharset},
        {"<p>plain", m_defaults, detect},
    };
    const QString file = m_home.file("page.html");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.page.toStdString());
        write("page.html", c.page);
        const BuiltRequest built = build(0, file, c.options);
        ASSERT_EQ(built.status, BuiltRequest::Status::Ready);
        EXPECT_TRUE(built.request.postData.contains("name=\"charset\"\r\n\r\n" +
                                                    c.charset.toUtf8() + "\r\n"));
    }
}

TEST_F(ValidatorRequestTest, DocumentsWithoutDtdGoToTheNewerChecker)
{
    const QByteArray page = "<!DOCTYPE html><title>t</title>";
    const QString file = write("h5.html", page);
    UploadOptions o = m_defaults;
    o.showSource = o.showOutline = true;
    const QByteArray nu = golden("nu");
    const struct {
        int service;
        QString docType;
        QString url;
        const char *fileField;
    } cases[] = {
        {0, QString(), "/nu/", "file"},
        {0, "other", "/nu/", "file"},
        {0, "xhtml1s", "/check", "uploaded_file"},
        {2, QString(), "/cgi-bin/validate.cgi", "file"},  // only the markup validator asks
    };
    for (const auto &c : cases) {
        SCOPED_TRACE((c.url + c.docType).toStdString());
        QByteArray seen = "(not asked)";
        const BuiltRequest built = build(c.service, file, o, [&](const QByteArray &bytes) {
            seen = bytes;
            return c.docType;
        });
        EXPECT_EQ(seen, c.service == 0 ? page : "(not asked)");
        EXPECT_EQ(built.request.url, kHost + c.url);
        EXPECT_TRUE(
            built.request.postData.startsWith(D + "\r\nContent-Disposition: form-data; name=\"" +
                                              c.fileField + "\"; filename=\"h5.html\""));
        EXPECT_EQ(built.request.postData == nu, c.url == "/nu/");
    }
}

}  // namespace
