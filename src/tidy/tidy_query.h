#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <functional>
#include <optional>

// What a Tidy executable prints on standard output for one informational
// switch (-help-config, -xml-strings). Nothing when it cannot be started,
// outlasts timeoutMs, crashes, or (with zeroExitOnly) ends with a status
// other than 0.
std::optional<QByteArray> runTidyQuery(const QString &program, const QString &argument,
                                       int timeoutMs, bool zeroExitOnly);

// The line `tidy -v` prints ("HTML Tidy for Linux version 5.6.0"); empty
// when the program does not answer.
QString queryTidyVersion(const QString &tidyPath, int timeoutMs = 5000);

// Answers about Tidy executables, kept per file (absolute path, size and
// modification time): a replaced executable is asked again, and one that
// failed or hung is not asked at every turn. Safe to use from any thread.
template <typename Answer>
class TidyAnswerCache {
public:
    // The kept answer for the file, else compute(its absolute path), kept
    // from then on. A path that names no file gives Answer().
    Answer get(const QString &tidyPath, const std::function<Answer(const QString &)> &compute)
    {
        const QFileInfo info(tidyPath);
        if (tidyPath.isEmpty() || !info.isFile())
            return Answer();
        const QString key = QStringLiteral("%1\n%2\n%3")
                                .arg(info.absoluteFilePath())
                                .arg(info.size())
                                .arg(info.lastModified().toMSecsSinceEpoch());
        {
            QMutexLocker locker(&m_lock);
            const auto found = m_answers.constFind(key);
            if (found != m_answers.cend())
                return *found;
        }
        const Answer answer = compute(info.absoluteFilePath());
        QMutexLocker locker(&m_lock);
        m_answers.insert(key, answer);
        return answer;
    }

private:
    QMutex m_lock;
    QHash<QString, Answer> m_answers;
};
