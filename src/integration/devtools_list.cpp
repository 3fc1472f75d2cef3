#include "integration/devtools_list.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace DevToolsList {

BrowserBridge::Page currentPage(const QByteArray &json)
{
    using Status = BrowserBridge::Page::Status;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return {Status::Unreachable, {}};
    const QJsonArray targets = doc.array();
    for (const QJsonValue &target : targets) {
        const QJsonObject object = target.toObject();
        if (object.value(QLatin1String("type")).toString() != QLatin1String("page"))
            continue;
        const QString url = object.value(QLatin1String("url")).toString();
        if (url.isEmpty())
            break;
        return {Status::Found, url};
    }
    return {Status::NoAddress, {}};
}

}  // namespace DevToolsList
