#pragma once

#include <QStringList>

#include "platform/process_runner.h"

// Runs Tidy for real but only records what would be opened for the user
// (the editor, the desktop's default application).
class RecordingRunner : public ProcessRunner {
public:
    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        detached << program + QStringLiteral(" ") + arguments.join(QStringLiteral(" "));
        return true;
    }
    bool openWithDefaultApplication(const QString &path) override
    {
        opened << path;
        return true;
    }

    QStringList detached;
    QStringList opened;
};
