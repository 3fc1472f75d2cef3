#pragma once

#include <QObject>
#include <QString>
#include <array>

#include "checks/clock.h"
#include "checks/validator_request.h"
#include "core/upload_preset.h"

class UploadBrowsers;
class UploadWorker;
class View;
struct UploadOptions;

// Hands pages to the online validators and keeps one worker slot per
// service: a new request for a service takes over its slot, and a worker
// that ends empties its service's slot, whichever worker it holds.
class ValidatorUpload : public QObject {
    Q_OBJECT
public:
    ValidatorUpload(View &view, const UploadOptions &options, QObject *parent = nullptr);
    ~ValidatorUpload() override;

    // Where the answers are shown; without browsers nothing is sent.
    void setBrowsers(UploadBrowsers *browsers) { m_browsers = browsers; }
    void setClock(const Clock *clock) { m_clock = clock ? clock : &m_systemClock; }
    void setDocTypeOf(DocTypeOf docTypeOf) { m_docTypeOf = std::move(docTypeOf); }

    // target: a local path, a file URL or a web address; service 0-3.
    // Returns false when nothing was sent.
    bool sendToValidator(const QString &target, int service, bool separateWindow);

    UploadWorker *slot(int service) const { return m_slots.at(service); }
    bool allSlotsEmpty() const;
    // Closing: every recorded worker is told not to begin.
    void terminateAll();

Q_SIGNALS:
    void workerDone(int service);

private:
    void uploadWorkerDone(UploadWorker *worker);

    View &m_view;
    const UploadOptions &m_options;
    UploadBrowsers *m_browsers = nullptr;
    SystemClock m_systemClock;
    const Clock *m_clock = &m_systemClock;
    DocTypeOf m_docTypeOf;
    std::array<UploadWorker *, 4> m_slots{};
};

// What the page declares, for the presets of the upload choices and for
// the markup validator's choice of checker.
DeclarationClasses declaredClassesOfFile(const QString &file);
QString declaredDocType(const QByteArray &bytes);

// The message for a request that was not built.
QString uploadRefusal(const BuiltRequest &built);
