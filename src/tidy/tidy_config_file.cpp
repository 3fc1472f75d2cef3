#include "tidy/tidy_config_file.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "platform/text_codec.h"

namespace {

// Our own file is a few kilobytes. Anything far larger is not one of ours;
// its beginning is still read, but memory stays bounded.
constexpr qint64 kReadLimit = 16 * 1024 * 1024;

QString createError(const QString &path, const QString &reason)
{
    return QStringLiteral("ファイル %1 を作成できません。(%2)")
        .arg(QDir::toNativeSeparators(path), reason);
}

}  // namespace

// CP932 as the format asks, unless the bytes would not read back as the same
// text: either a character has no CP932 form, or the CP932 bytes happen to
// form valid UTF-8 (half-width katakana pairs such as "ﾃｩ" do), which the
// reader would take for UTF-8.
QByteArray tidyConfigBytes(const TidyOptionValues &values)
{
    const QString text = TextCodec::joinCrLf(writeTidyOptions(values));
    const QByteArray legacy = TextCodec::encodeLegacy(text);
    if (TextCodec::decode(legacy) == text)
        return legacy;
    return text.toUtf8();
}

QString tidyConfigPath(const QString &programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("Velmarin.txt"));
}

bool saveTidyConfig(const QString &path, const TidyOptionValues &values, QString *error)
{
    const QByteArray bytes = tidyConfigBytes(values);
    QSaveFile file(path);
    // Never fall back to writing the target in place: that is what would
    // leave a half-written file behind.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = createError(path, file.errorString());
        return false;
    }
    // commit() does not notice a failed flush of its buffer (a full disk) and
    // would put the cut-off file in place; flushing first catches that.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        if (error)
            *error = createError(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

bool loadTidyConfig(const QString &path, TidyOptionValues &values)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.read(kReadLimit);
    if (!file.atEnd()) {
        // Cut back to the last complete line so no value is read half.
        const qsizetype lastBreak =
            std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
        bytes.truncate(lastBreak < 0 ? 0 : lastBreak + 1);
    }
    loadTidyOptions(TextCodec::splitLines(TextCodec::decode(bytes)), values);
    return true;
}
