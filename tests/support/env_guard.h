#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <initializer_list>

// Sets environment variables for the life of the object and restores them
// afterwards, also when a test fails midway. A null value unsets.
class EnvGuard {
public:
    EnvGuard(std::initializer_list<QPair<const char *, QByteArray>> values = {});
    ~EnvGuard();
    EnvGuard(const EnvGuard &) = delete;
    EnvGuard &operator=(const EnvGuard &) = delete;

    void set(const char *name, const QByteArray &value);

private:
    struct Saved {
        const char *name;
        QByteArray value;
        bool wasSet;
    };
    QList<Saved> m_saved;
};
