#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "support/env_guard.h"
#include "support/qt_print.h"

// A temporary program folder: VELMARIN_HOME points at it for the life of the
// object, so no test touches the user's own files.
class TempHome {
public:
    TempHome();

    QString path() const;                       // without trailing separator
    QString file(const QString &name) const;    // path() + "/" + name
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;
    // A shell script ("#!/bin/sh" added) that only its owner may run; its path.
    QString script(const QString &name, const QByteArray &body) const;

private:
    QTemporaryDir m_dir;
    EnvGuard m_env;
};

// Test data shipped with the tests.
QString testDataPath(const QString &name);

// `text` in an iconv encoding ("CP932", "EUC-JP"...); empty when it cannot be written so.
QByteArray inEncoding(const QString &text, const char *encoding);

// Files cannot grow beyond `bytes` for the life of the object: writes fail
// with EFBIG as on a full disk, also for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    unsigned long m_saved[2];
    void (*m_handler)(int);
};
