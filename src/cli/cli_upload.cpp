#include "cli/cli_upload.h"

#include <QDir>
#include <algorithm>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include "app/command_line.h"
#include "checks/clock.h"
#include "checks/validator_hosts.h"
#include "checks/validator_request.h"
#include "checks/validator_upload.h"
#include "cli/console_view.h"
#include "core/app_settings.h"
#include "core/document_kind.h"
#include "core/settings_store.h"
#include "core/upload_preset.h"
#include "fetch/file_url.h"
#include "fetch/http_client.h"
#include "platform/atomic_file.h"

namespace {

struct UploadSwitch {
    const char *name;  // also the saved answer's name
    int service;
    bool presetCharset;
    bool presetDocType;
};

// In the order the window's command line runs them.
constexpr UploadSwitch kSwitches[] = {
    {"w3c", ValidatorService::Markup, true, false},
    {"cssu", ValidatorService::Css, true, true},
    {"lint", ValidatorService::Lint, false, false},
    {"wdg", ValidatorService::Wdg, true, false},
};

const UploadSwitch *uploadSwitch(const QString &argument)
{
    if (!argument.startsWith(u'-') && !argument.startsWith(u'/'))
        return nullptr;
    const QString name = argument.mid(1).toLower();
    for (const UploadSwitch &s : kSwitches)
        if (name == QLatin1String(s.name))
            return &s;
    return nullptr;
}

int timeoutMs()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("VELMARIN_UPLOAD_TIMEOUT", &ok);
    return (ok && seconds > 0 ? seconds : 60) * 1000;
}

// The cap on an answer: every download's, or VELMARIN_DOWNLOAD_CAP bytes.
qint64 answerCap()
{
    bool ok = false;
    const qint64 bytes = qEnvironmentVariable("VELMARIN_DOWNLOAD_CAP").toLongLong(&ok);
    return ok && bytes > 0 ? bytes : HttpClient::kBodyCap;
}

QString sizeText(qint64 bytes)
{
    if (bytes % (1 << 20) == 0) return QStringLiteral("%1 MiB").arg(bytes >> 20);
    if (bytes % (1 << 10) == 0) return QStringLiteral("%1 KiB").arg(bytes >> 10);
    return QStringLiteral("%1バイト").arg(bytes);
}

struct Answer {
    bool reached = false;
    QString failure;  // why the service could not be reached
    QByteArray body;
    QByteArray errorsHeader;
};

Answer send(const ValidatorRequest &request)
{
    QNetworkAccessManager manager;
    QNetworkRequest r{QUrl(request.url)};
    r.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                   QNetworkRequest::NoLessSafeRedirectPolicy);
    r.setMaximumRedirectsAllowed(10);
    r.setHeader(QNetworkRequest::UserAgentHeader, QByteArray("Velmarin"));
    QNetworkReply *reply = nullptr;
    if (request.post) {
        const QByteArray type = request.headers.trimmed();
        r.setRawHeader("Content-Type", type.mid(type.indexOf(':') + 1).trimmed());
        reply = manager.post(r, request.postData);
    } else {
        reply = manager.get(r);
    }
    // A hostile host must not fill memory: the answer is held only up to the
    // cap that every download of the program has.
    bool tooLarge = false;
    const qint64 cap = answerCap();
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [reply, &tooLarge, cap](qint64 received, qint64) {
                         if (received > cap) {
                             tooLarge = true;
                             reply->abort();
                         }
                     });
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs());
    loop.exec();

    Answer answer;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.body = tooLarge ? QByteArray() : reply->readAll();
    answer.errorsHeader = reply->rawHeader("X-W3C-Validator-Errors");
    if (!deadline.isActive())
        answer.failure = QStringLiteral("%1秒以内に応答がありませんでした。").arg(timeoutMs() / 1000);
    else if (tooLarge)
        answer.failure = QStringLiteral("応答が大きすぎます(%1まで)。").arg(sizeText(cap));
    else if (status >= 400)
        answer.failure = QStringLiteral("HTTP %1 %2")
                             .arg(status)
                             .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute)
                                      .toString());
    else if (reply->error() != QNetworkReply::NoError)
        answer.failure = reply->errorString();
    answer.reached = answer.failure.isEmpty();
    delete reply;
    return answer;
}

// The number of errors the answer states, or -1 when it says none.
int statedErrors(const Answer &answer, bool json)
{
    bool ok = false;
    const int header = answer.errorsHeader.trimmed().toInt(&ok);
    if (ok)
        return header;
    if (!json)
        return -1;
    const QJsonDocument doc = QJsonDocument::fromJson(answer.body);
    if (!doc.isObject() || !doc.object().value(QLatin1String("messages")).isArray())
        return -1;
    int errors = 0;
    for (const QJsonValue &message : doc.object().value(QLatin1String("messages")).toArray())
        if (message.toObject().value(QLatin1String("type")).toString() == QLatin1String("error"))
            ++errors;
    return errors;
}

QString answerPath(const UploadSwitch &s, int document, bool json)
{
    QString name = QLatin1String(s.name) + QStringLiteral("_result");
    if (document > 0)
        name += QStringLiteral("_%1").arg(document + 1);
    return QDir::current().absoluteFilePath(name + (json ? QStringLiteral(".json")
                                                         : QStringLiteral(".html")));
}

}  // namespace

int runUploadCommand(const QStringList &arguments)
{
    QList<const UploadSwitch *> chosen;
    QStringList documents;
    bool json = false;
    bool onlyDocuments = false;
    bool otherSwitch = false;
    for (const QString &a : arguments) {
        if (onlyDocuments)
            documents << a;
        else if (a == QLatin1String("--"))
            onlyDocuments = true;
        else if (a == QLatin1String("--json"))
            json = true;
        else if (const UploadSwitch *s = uploadSwitch(a); s != nullptr && !chosen.contains(s))
            chosen.append(s);
        else if (s != nullptr)
            continue;
        else if (isCommandLineSwitch(a) || a.startsWith(u'-'))
            otherSwitch = true;
        else
            documents << a;
    }
    if (chosen.isEmpty())
        return -1;
    if (otherSwitch || documents.isEmpty()) {
        printError(QStringLiteral("アップロードのスイッチ(-w3c -lint -wdg -cssu)には文書を指定してください。"
                                  "ほかのチェックやオプションとは一緒に使えません"
                                  "(--json を除く)。\n"));
        return 2;
    }
    std::sort(chosen.begin(), chosen.end());  // the command line's order

    ConsoleView view;
    AppSettings settings;
    SettingsStore store(settings, view);
    store.load();
    SystemClock clock;

    bool errorsFound = false;
    bool unreachable = false;
    const QStringList targets = absoluteDocuments(documents, QDir::currentPath(), true);
    for (int d = 0; d < targets.size(); ++d) {
        const QString target = fileUrlToPath(targets.at(d));
        for (const UploadSwitch *s : chosen) {
            UploadOptions options = settings.upload;
            if (s->presetCharset || s->presetDocType)
                presetUploadOptions(options, target, s->presetCharset, s->presetDocType,
                                    declaredClassesOfFile);
            const BuiltRequest built = buildValidatorRequest(
                s->service, targets.at(d), options, ValidatorHosts::host(s->service), clock,
                declaredDocType);
            if (built.status != BuiltRequest::Status::Ready) {
                printError(uploadRefusal(built) + u'\n');
                errorsFound = true;
                continue;
            }
            ValidatorRequest request = built.request;
            const bool nu = request.url.endsWith(QLatin1String("/nu/"));
            if (json && nu) {
                // The checker answers in JSON only to a document sent as the
                // body itself; its form always answers with a page.
                request.url += QStringLiteral("?out=json");
                request.postData = built.fileBytes;
                request.headers = "Content-Type: text/html\r\n\r\n";
            }
            printOut(request.checker + QStringLiteral(": ") + targets.at(d) + u'\n');
            const Answer answer = send(request);
            if (!answer.reached) {
                printError(QStringLiteral("%1に接続できませんでした(%2): %3\n")
                               .arg(request.checker, request.url, answer.failure));
                unreachable = true;
                continue;
            }
            const QString path = answerPath(*s, d, json && nu);
            QString error;
            if (!writeFileAtomically(path, answer.body, &error)) {
                printError(error + u'\n');
                errorsFound = true;
                continue;
            }
            printOut(QStringLiteral("結果: ") + path + u'\n');
            const int errors = statedErrors(answer, json && nu);
            if (errors >= 0)
                printOut(QStringLiteral("エラー: %1件\n").arg(errors));
            errorsFound = errorsFound || errors > 0;
        }
    }
    return unreachable ? 2 : (errorsFound ? 1 : 0);
}
