#include "validator_upload.h"

#include <QFileInfo>

#include "checks/upload_browser.h"
#include "checks/upload_worker.h"
#include "checks/validator_hosts.h"
#include "core/upload_options.h"
#include "core/view.h"
#include "html/declaration_sniffer.h"

namespace {

constexpr int kUploadPage = 3;

UploadWorker *makeWorker(int service, ValidatorRequest request, UploadBrowsers &browsers,
                         QObject *parent)
{
    switch (service) {
    case ValidatorService::Markup:
        return new MIExp(std::move(request), browsers, parent);
    case ValidatorService::Lint:
        return new MIExp2(std::move(request), browsers, parent);
    case ValidatorService::Wdg:
        return new MIExp3(std::move(request), browsers, parent);
    default:
        return new MIExp4(std::move(request), browsers, parent);
    }
}

}  // namespace

DeclarationClasses declaredClassesOfFile(const QString &file)
{
    const DeclaredClasses found = sniffDeclarationsOfFile(file);
    return {found.charset, found.docType};
}

QString declaredDocType(const QByteArray &bytes) { return sniffDeclarations(bytes).docType; }

QString uploadRefusal(const BuiltRequest &built)
{
    switch (built.status) {
    case BuiltRequest::Status::OtherProtocol:
        return QStringLiteral("HTTP以外のプロトコルは処理できません。");
    case BuiltRequest::Status::TooLarge:
        return QStringLiteral("ファイルが大きすぎるため送信しませんでした(%1 MiBまで)。\n%2")
            .arg(kUploadLimit / (1024 * 1024))
            .arg(built.file);
    case BuiltRequest::Status::Unreadable:
        return (QFileInfo::exists(built.file)
                    ? QStringLiteral("ファイルを読めないため送信しませんでした。\n")
                    : QStringLiteral("ファイルが見つからないため送信しませんでした。\n")) +
               built.file;
    case BuiltRequest::Status::Ready:
        break;
    }
    return QString();
}

ValidatorUpload::ValidatorUpload(View &view, const UploadOptions &options, QObject *parent)
    : QObject(parent), m_view(view), m_options(options), m_docTypeOf(declaredDocType)
{
}

ValidatorUpload::~ValidatorUpload()
{
    // Workers still waiting for a browser must not report to a dead owner.
    for (UploadWorker *worker : findChildren<UploadWorker *>())
        disconnect(worker, nullptr, this, nullptr);
}

bool ValidatorUpload::sendToValidator(const QString &target, int service, bool separateWindow)
{
    if (service < 0 || service >= ValidatorHosts::kServiceCount)
        return false;
    m_view.showPage(kUploadPage);
    BuiltRequest built = buildValidatorRequest(service, target, m_options,
                                               ValidatorHosts::host(service), *m_clock,
                                               m_docTypeOf);
    if (built.status != BuiltRequest::Status::Ready) {
        m_view.notice(uploadRefusal(built));
        return false;
    }
    built.request.separateWindow = separateWindow;
    m_view.bringToFront();
    if (m_browsers == nullptr)
        return false;
    m_view.showStatus(built.request.checker + QStringLiteral("へ送信しています: ") +
                          built.request.url,
                      false);
    UploadWorker *worker = makeWorker(service, std::move(built.request), *m_browsers, this);
    m_slots[service] = worker;
    connect(worker, &UploadWorker::finished, this, &ValidatorUpload::uploadWorkerDone);
    return true;
}

void ValidatorUpload::uploadWorkerDone(UploadWorker *worker)
{
    m_slots[worker->service()] = nullptr;
    if (allSlotsEmpty())
        m_view.bringToFront();
    Q_EMIT workerDone(worker->service());
}

bool ValidatorUpload::allSlotsEmpty() const
{
    for (UploadWorker *worker : m_slots)
        if (worker != nullptr)
            return false;
    return true;
}

void ValidatorUpload::terminateAll()
{
    for (UploadWorker *worker : m_slots)
        if (worker != nullptr)
            worker->terminate();
}
