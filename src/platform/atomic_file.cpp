#include "atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString writeError(const QString &path, const QString &reason)
{
    return QStringLiteral("ファイル「%1」を書き込めません。%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

}  // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        if (error)
            *error = writeError(path, QStringLiteral("フォルダ「%1」を作成できません。")
                                          .arg(QDir::toNativeSeparators(folder)));
        return false;
    }

    // A file made read-only stays as it is, also for root, whom the rename
    // below would otherwise let replace it.
    const QFileInfo existing(path);
    if (existing.isFile() &&
        !(existing.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther))) {
        if (error) *error = writeError(path, QStringLiteral("読み取り専用のファイルです。"));
        return false;
    }

    // No direct-write fallback: if the folder does not take a temporary file
    // we fail rather than truncate the old file in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = writeError(path, file.errorString());
        return false;
    }
    // The explicit flush matters: QSaveFile::commit() does not notice a
    // failure while flushing its buffer (a full disk, a size limit) and would
    // rename the truncated temporary file over the old one. Leaving without
    // commit() discards the temporary file.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        if (error) *error = writeError(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error) *error = writeError(path, file.errorString());
        return false;
    }
    return true;
}

QByteArray readWholeFile(const QString &path, bool *ok)
{
    QFile file(path);
    const bool opened = !QFileInfo(path).isDir() && file.open(QIODevice::ReadOnly);
    if (ok) *ok = opened;
    return opened ? file.readAll() : QByteArray();
}
