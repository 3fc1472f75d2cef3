#include "validator_request.h"

#include <QFile>
#include <QFileInfo>

#include "checks/clock.h"
#include "core/upload_preset.h"
#include "fetch/file_url.h"
#include "html/declaration_sniffer.h"
#include "html/japanese_encoding.h"

namespace {

struct ServiceForm {
    const char *fileField;
    const char *formPath;
    const char *getPathAndKey;
    const char *checker;
};

constexpr ServiceForm kForms[] = {
    {"uploaded_file", "/check", "/check?uri=", "W3C Markup Validator"},
    {"File", "/k16/htmllint/htmllint.cgi", "/k16/htmllint/htmllint.cgi?Method=URL&Stat=on&URL=",
     "Another HTML Lint"},
    {"file", "/cgi-bin/validate.cgi", "/cgi-bin/validate.cgi?url=", "WDG HTML Validator"},
    {"file", "/css-validator/validator", "/css-validator/validator?uri=", "CSS Validator"},
};

const char kNuPath[] = "/nu/";
const char kNuChecker[] = "Nu Html Checker";

const ServiceForm &form(int service) { return kForms[qBound(0, service, 3)]; }

QByteArray textView(const UploadOptions &o)
{
    static const char *const values[] = {"no", "lynx", "w3m"};
    return values[qBound(0, o.lintTextBrowser, 2)];
}

QByteArray cssWarning(const UploadOptions &o)
{
    static const char *const values[] = {"2", "1", "0", "no"};
    const int item = UploadLists::cssWarnings().indexOf(o.cssWarning);
    return values[item < 0 ? 0 : item];
}

QByteArray cssProfile(const UploadOptions &o)
{
    static const char *const byItem[] = {"none", "css1",   "css2",    "css3", "svg",
                                         "svgbasic", "svgtiny", "mobile", "atsc-tv", "tv"};
    const int item = UploadLists::cssProfiles().indexOf(o.cssProfile);
    return byItem[item < 0 || item > 9 ? 2 : item];
}

QByteArray cssMedium(const UploadOptions &o)
{
    return UploadLists::cssMedia().contains(o.cssMedium) ? o.cssMedium.toUtf8()
                                                         : QByteArray("all");
}

bool startsWithCi(const QString &text, const char *prefix)
{
    return text.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
}

// A file URL names a local path; of its readings the first that exists.
QString localPath(const QString &target)
{
    const QStringList candidates = fileUrlPathCandidates(target);
    for (const QString &path : candidates)
        if (QFileInfo::exists(path))
            return path;
    return candidates.value(0, target);
}

// Left to detect a charset, the markup validator reads an undeclared page as
// ISO-8859-1; a Japanese page is better named by what its bytes are.
QString undeclaredCharsetItem(const QByteArray &bytes)
{
    if (!sniffDeclarations(bytes).charset.isEmpty())
        return QString();  // the validator follows the declaration
    if (JapaneseEncoding::isUtf8(bytes))
        return markupCharsetOfClass(QStringLiteral("utf"));
    switch (JapaneseEncoding::detect(bytes)) {
    case JapaneseEncoding::JisNew:
    case JapaneseEncoding::JisOld: return markupCharsetOfClass(QStringLiteral("jis"));
    case JapaneseEncoding::EucJp: return markupCharsetOfClass(QStringLiteral("euc"));
    case JapaneseEncoding::ShiftJis: return markupCharsetOfClass(QStringLiteral("shift_jis"));
    default: return QString();
    }
}

}  // namespace

QByteArray encodeQueryValue(const QByteArray &bytes, bool spaceAsPlus)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
            b == '!' || b == '$' || b == ',' || b == '-' || b == '.' || b == '_') {
            out += c;
        } else if (b == ' ' && spaceAsPlus) {
            out += '+';
        } else {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

QByteArray encodeQueryValue(const QString &text, bool spaceAsPlus)
{
    return encodeQueryValue(text.toUtf8(), spaceAsPlus);
}

QByteArray uploadBoundary(const QDateTime &local)
{
    static const char *const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const QDate d = local.date();
    const QTime t = local.time();
    const QList<int> numbers{t.hour(), t.minute(), t.second(), t.msec(),
                             d.year(), d.month(),  d.day(),    d.weekNumber()};
    QByteArray stamp;
    for (const int n : numbers)
        stamp += QByteArray::number(n) + '_';
    return QByteArray(27, '-') + stamp + days[qBound(1, d.dayOfWeek(), 7) - 1];
}

QByteArray uploadFileName(const QString &path)
{
    QByteArray name = QFileInfo(path).fileName().toUtf8();
    name.replace('"', "%22").replace('\r', "%0D").replace('\n', "%0A");
    return name;
}

FormFields uploadFields(int service, const UploadOptions &o)
{
    FormFields fields;
    auto flag = [&fields](bool on, const char *name, const char *value) {
        if (on)
            fields.emplaceBack(name, value);
    };
    switch (service) {
    case ValidatorService::Markup: {
        const bool detectType = UploadLists::markupTypes().indexOf(o.markupType) <= 0;
        fields.emplaceBack("charset", o.markupCharset.toUtf8());
        fields.emplaceBack("doctype", detectType ? QByteArray("inline") : o.markupType.toUtf8());
        flag(o.showSource, "ss", "1");
        flag(o.showParseTree, "sp", "1");
        flag(o.showOutline, "outline", "1");
        flag(o.excludeAttributes, "noatt", "1");
        flag(o.validateErrorPages, "no200", "1");
        flag(o.verbose, "verbose", "1");
        break;
    }
    case ValidatorService::Lint:
        fields.emplaceBack("Stat", "on");
        fields.emplaceBack("Method", "File");
        flag(o.lintNumView, "ViewSource", "on");
        fields.emplaceBack("TextView", textView(o));
        flag(o.lintAllCheck, "Pedantic", "on");
        flag(o.lintNoReligious, "NoReligious", "on");
        flag(o.lintNoAccess, "NoAccessibility", "on");
        break;
    case ValidatorService::Wdg:
        fields.emplaceBack("charset", o.wdgCharset.toUtf8());
        flag(o.wdgWarning, "warnings", "yes");
        flag(o.wdgShowInput, "input", "yes");
        break;
    default:
        fields.emplaceBack("warning", cssWarning(o));
        fields.emplaceBack("profile", cssProfile(o));
        fields.emplaceBack("usermedium", cssMedium(o));
        break;
    }
    return fields;
}

QByteArray multipartBody(const QByteArray &boundary, const QByteArray &fileField,
                         const QByteArray &fileName, const QByteArray &fileBytes,
                         const FormFields &fields)
{
    const QByteArray delimiter = "--" + boundary;
    QByteArray body;
    body.reserve(fileBytes.size() + 512 + fields.size() * 128);
    body += delimiter + "\r\n";
    body += "Content-Disposition: form-data; name=\"" + fileField + "\"; filename=\"" + fileName +
            "\"\r\n";
    body += "Content-Type: text/html\r\n\r\n";
    body += fileBytes + "\r\n";
    for (const auto &[name, value] : fields) {
        body += delimiter + "\r\n";
        body += "Content-Disposition: form-data; name=\"" + name + "\"\r\n\r\n";
        body += value + "\r\n";
    }
    body += delimiter + "--\r\n";
    return body;
}

QString validatorGetUrl(int service, const QString &host, const QString &pageUrl,
                        const UploadOptions &o)
{
    QByteArray url = host.toUtf8() + form(service).getPathAndKey + encodeQueryValue(pageUrl, true);
    auto flag = [&url](bool on, const char *text) {
        if (on)
            url += text;
    };
    switch (service) {
    case ValidatorService::Markup:
        url += "&charset=" + encodeQueryValue(QStringLiteral("(detect automatically)"), true) +
               "&doctype=inline";
        flag(o.showSource, "&ss=1");
        flag(o.showParseTree, "&sp=1");
        flag(o.showOutline, "&outline=1");
        flag(o.excludeAttributes, "&noatt=1");
        flag(o.validateErrorPages, "&No200=1");
        flag(o.verbose, "&verbose=1");
        break;
    case ValidatorService::Lint:
        flag(o.lintNumView, "&ViewSource=on");
        flag(o.lintAllCheck, "&Pedantic=on");
        flag(o.lintNoReligious, "&NoReligious=on");
        flag(o.lintNoAccess, "&NoAccessibility=on");
        url += "&TextView=" + textView(o);
        break;
    case ValidatorService::Wdg:
        flag(o.wdgWarning, "&warnings=yes");
        flag(o.wdgShowInput, "&input=yes");
        break;
    default:
        url += "&warning=" + cssWarning(o) + "&profile=" + cssProfile(o) +
               "&usermedium=" + cssMedium(o);
        break;
    }
    return QString::fromUtf8(url);
}

bool hasDtdDocType(const QString &docTypeClass)
{
    return !docTypeClass.isEmpty() && docTypeClass.compare(QLatin1String("other"),
                                                           Qt::CaseInsensitive) != 0;
}

BuiltRequest buildValidatorRequest(int service, const QString &target,
                                   const UploadOptions &options, const QString &host,
                                   const Clock &clock, const DocTypeOf &docTypeOf)
{
    BuiltRequest built;
    ValidatorRequest &request = built.request;
    request.checker = QLatin1String(form(service).checker);
    if (startsWithCi(target, "http")) {
        request.url = validatorGetUrl(service, host, target, options);
        return built;
    }
    if (startsWithCi(target, "wais") || startsWithCi(target, "ftp") ||
        startsWithCi(target, "gopher")) {
        built.status = BuiltRequest::Status::OtherProtocol;
        return built;
    }
    built.file = localPath(target);
    // A file that is missing or cannot be read is not sent: an empty upload
    // would come back as a clean result. (Only a regular file is opened: a
    // pipe would wait for a writer.)
    QByteArray bytes;
    QFile file(built.file);
    if (!QFileInfo(built.file).isFile() || !file.open(QIODevice::ReadOnly)) {
        built.status = BuiltRequest::Status::Unreadable;
        return built;
    }
    if (file.size() > kUploadLimit) {
        built.status = BuiltRequest::Status::TooLarge;
        return built;
    }
    bytes = file.read(kUploadLimit + 1);
    if (bytes.size() > kUploadLimit) {  // grew while being read
        built.status = BuiltRequest::Status::TooLarge;
        return built;
    }
    const QByteArray boundary = uploadBoundary(clock.localNow());
    QByteArray fileField = form(service).fileField;
    QByteArray path = form(service).formPath;
    UploadOptions effective = options;
    // The user's own choice of charset in the settings stands.
    if (service == ValidatorService::Markup &&
        UploadLists::markupCharsets().indexOf(options.markupCharset) <= 0) {
        const QString detected = undeclaredCharsetItem(bytes);
        if (!detected.isEmpty())
            effective.markupCharset = detected;
    }
    FormFields fields = uploadFields(service, effective);
    if (service == ValidatorService::Markup && docTypeOf && !hasDtdDocType(docTypeOf(bytes))) {
        fileField = "file";
        path = kNuPath;
        fields.clear();
        if (options.showSource)
            fields.emplaceBack("showsource", "yes");
        if (options.showOutline)
            fields.emplaceBack("showoutline", "yes");
        request.checker = QLatin1String(kNuChecker);
    }
    request.url = host + QString::fromLatin1(path);
    request.post = true;
    request.headers = "Content-Type: multipart/form-data; boundary=" + boundary + "\r\n\r\n";
    request.postData =
        multipartBody(boundary, fileField, uploadFileName(built.file), bytes, fields);
    built.fileBytes = bytes;
    return built;
}
