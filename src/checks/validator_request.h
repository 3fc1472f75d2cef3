#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QPair>
#include <QString>
#include <QVector>
#include <functional>

#include "core/upload_options.h"

class Clock;

// The four online validators, by the index the menus, the command line and
// the worker slots use.
namespace ValidatorService {
constexpr int Markup = 0;
constexpr int Lint = 1;
constexpr int Wdg = 2;
constexpr int Css = 3;
}  // namespace ValidatorService

// One request for a browser to perform: a multipart POST that carries a
// local file, or a GET whose query names a page the service fetches itself.
struct ValidatorRequest {
    QString url;
    QByteArray postData;  // the whole body; empty for a GET
    QByteArray headers;   // "Content-Type: multipart/form-data; boundary=…" CR LF CR LF; empty for a GET
    bool post = false;
    bool separateWindow = false;
    QString checker;      // which checker answers, for the status line
};

// Uploads larger than this are refused: the services take far less, and the
// whole body is held in memory twice on its way to the browser.
constexpr qint64 kUploadLimit = 10 * 1024 * 1024;

struct BuiltRequest {
    enum class Status { Ready, OtherProtocol, TooLarge, Unreadable };
    Status status = Status::Ready;
    ValidatorRequest request;
    QString file;  // the local file of an upload, after file-URL normalisation
    QByteArray fileBytes;  // its bytes as they went into the body
};

// The document-type class of a file's bytes ("xhtml1s", "other", empty
// when none is declared); an empty function takes every file as having one.
using DocTypeOf = std::function<QString(const QByteArray &bytes)>;

// Query values: the bytes of the text's UTF-8 form; "!$,-._", digits and
// letters stay, a space becomes "+" when asked, every other byte "%XX".
QByteArray encodeQueryValue(const QByteArray &bytes, bool spaceAsPlus);
QByteArray encodeQueryValue(const QString &text, bool spaceAsPlus);

// 27 hyphens and the local time stamped as
// hour_minute_second_ms_year_month_day_isoweek_Wkd ("9_5_7_38_2003_6_2_23_Mon").
QByteArray uploadBoundary(const QDateTime &local);

// The file's name for the filename parameter, UTF-8, with the characters
// that would end the quoted value or the header line escaped as browsers
// do: " as %22, CR as %0D, LF as %0A.
QByteArray uploadFileName(const QString &path);

using FormFields = QVector<QPair<QByteArray, QByteArray>>;

// The fields after the file part, in the service's order, each only under
// its condition.
FormFields uploadFields(int service, const UploadOptions &options);

// The multipart body: the file part (Content-Type text/html whatever the
// service), then one part per field, then the closing delimiter; CR LF
// line breaks, the file's bytes unchanged.
QByteArray multipartBody(const QByteArray &boundary, const QByteArray &fileField,
                         const QByteArray &fileName, const QByteArray &fileBytes,
                         const FormFields &fields);

// The GET address that asks `host`'s service to fetch pageUrl.
QString validatorGetUrl(int service, const QString &host, const QString &pageUrl,
                        const UploadOptions &options);

// Builds the request for `target` (a local path, a file URL or a web
// address). Documents without a DTD document type go to the markup
// validator's newer checker on the same host ("/nu/"), which the old form
// would only redirect to with the file dropped.
BuiltRequest buildValidatorRequest(int service, const QString &target,
                                   const UploadOptions &options, const QString &host,
                                   const Clock &clock, const DocTypeOf &docTypeOf = {});

// Whether a document-type class names a DTD the markup validator's form checks.
bool hasDtdDocType(const QString &docTypeClass);
