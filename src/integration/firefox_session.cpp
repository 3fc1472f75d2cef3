#include "integration/firefox_session.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QtEndian>
#include <lz4.h>

namespace FirefoxSession {

namespace {

constexpr char kMagic[] = {'m', 'o', 'z', 'L', 'z', '4', '0', '\0'};
constexpr qsizetype kHeaderSize = sizeof(kMagic) + 4;
// LZ4 cannot expand one input byte into more than 255 output bytes.
constexpr qint64 kMaxRatio = 255;

// The element `position` (counted from 1) of an array, or an empty object.
QJsonObject nth(const QJsonValue &array, const QJsonValue &position)
{
    const QJsonArray items = array.toArray();
    const qint64 n = position.toInteger(0);
    if (n < 1 || n > items.size())
        return {};
    return items.at(static_cast<qsizetype>(n - 1)).toObject();
}

}  // namespace

bool decodeMozLz4(const QByteArray &file, QByteArray *json)
{
    if (file.size() < kHeaderSize || !file.startsWith(QByteArray(kMagic, sizeof(kMagic))))
        return false;
    const qint64 claimed = qFromLittleEndian<quint32>(file.constData() + sizeof(kMagic));
    const qint64 compressed = file.size() - kHeaderSize;
    if (claimed > kDecodedCap || claimed > compressed * kMaxRatio || compressed > 2 * kDecodedCap)
        return false;
    if (claimed == 0) {
        json->clear();
        return compressed == 0;
    }
    QByteArray decoded(static_cast<qsizetype>(claimed), Qt::Uninitialized);
    const int written = LZ4_decompress_safe(file.constData() + kHeaderSize, decoded.data(),
                                            static_cast<int>(compressed),
                                            static_cast<int>(claimed));
    if (written != claimed)
        return false;
    *json = decoded;
    return true;
}

BrowserBridge::Page currentPage(const QByteArray &json)
{
    using Status = BrowserBridge::Page::Status;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return {Status::NoAddress, {}};
    const QJsonObject session = doc.object();
    const QJsonObject window =
        nth(session.value(QLatin1String("windows")), session.value(QLatin1String("selectedWindow")));
    const QJsonObject tab =
        nth(window.value(QLatin1String("tabs")), window.value(QLatin1String("selected")));
    const QJsonObject entry =
        nth(tab.value(QLatin1String("entries")), tab.value(QLatin1String("index")));
    const QString url = entry.value(QLatin1String("url")).toString();
    if (url.isEmpty())
        return {Status::NoAddress, {}};
    return {Status::Found, url};
}

BrowserBridge::Page pageOfStore(const QByteArray &file)
{
    QByteArray json;
    if (!decodeMozLz4(file, &json))
        return {BrowserBridge::Page::Status::NoAddress, {}};
    return currentPage(json);
}

}  // namespace FirefoxSession
