#pragma once

#include <QObject>
#include <QPointer>

#include "checks/validator_request.h"

class UploadBrowsers;

// Carries one request to a browser. It starts as soon as control returns to
// the event loop, navigates (unless terminate() came first), waits for the
// browser without blocking it, then emits finished() and deletes itself.
// The four services have a worker class each; they differ only in which
// service they belong to, which tells the owner which slot to empty.
class UploadWorker : public QObject {
    Q_OBJECT
public:
    ~UploadWorker() override;

    int service() const { return m_service; }
    const ValidatorRequest &request() const { return m_request; }
    // Asks the worker not to begin; a navigation under way runs on.
    void terminate() { m_terminated = true; }
    bool navigated() const { return m_navigated; }

Q_SIGNALS:
    void finished(UploadWorker *worker);

protected:
    UploadWorker(int service, ValidatorRequest request, UploadBrowsers &browsers,
                 QObject *parent);

private:
    void execute();
    void finish();

    int m_service;
    ValidatorRequest m_request;
    UploadBrowsers &m_browsers;
    bool m_terminated = false;
    bool m_navigated = false;
    bool m_finished = false;
};

class MIExp : public UploadWorker {
public:
    MIExp(ValidatorRequest r, UploadBrowsers &b, QObject *parent = nullptr)
        : UploadWorker(ValidatorService::Markup, std::move(r), b, parent) {}
};
class MIExp2 : public UploadWorker {
public:
    MIExp2(ValidatorRequest r, UploadBrowsers &b, QObject *parent = nullptr)
        : UploadWorker(ValidatorService::Lint, std::move(r), b, parent) {}
};
class MIExp3 : public UploadWorker {
public:
    MIExp3(ValidatorRequest r, UploadBrowsers &b, QObject *parent = nullptr)
        : UploadWorker(ValidatorService::Wdg, std::move(r), b, parent) {}
};
class MIExp4 : public UploadWorker {
public:
    MIExp4(ValidatorRequest r, UploadBrowsers &b, QObject *parent = nullptr)
        : UploadWorker(ValidatorService::Css, std::move(r), b, parent) {}
};
