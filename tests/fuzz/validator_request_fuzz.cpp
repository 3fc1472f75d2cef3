// Arbitrary bytes as a query value and as an uploaded file with its name.

#include "checks/validator_request.h"
#include "fuzz_target.h"

void fuzzBytes(const QByteArray &bytes)
{
    const QByteArray encoded = encodeQueryValue(bytes, false);
    for (const char c : encoded)
        check((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
              QByteArray("!$,-._%").contains(c));
    check(QByteArray::fromPercentEncoding(encoded) == bytes);
    check(!encodeQueryValue(bytes, true).contains(' '));

    // The first bytes name the file, the rest is its content.
    const qsizetype split =
        bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes.at(0)) % (bytes.size() + 1);
    const QString name = QString::fromUtf8(bytes.left(split));
    const QByteArray fileName = uploadFileName(QStringLiteral("/x/") + name);
    check(!fileName.contains('"') && !fileName.contains('\r') && !fileName.contains('\n'));
    const QByteArray boundary = uploadBoundary(QDateTime(QDate(2003, 6, 2), QTime(9, 5, 7, 38)));
    const QByteArray content = bytes.mid(split);
    const QByteArray body = multipartBody(boundary, "file", fileName, content,
                                          uploadFields(0, UploadOptions::atCreation()));
    const QByteArray head = "--" + boundary +
                            "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"" +
                            fileName + "\"\r\nContent-Type: text/html\r\n\r\n";
    check(body.startsWith(head));
    check(body.mid(head.size(), content.size()) == content);
    check(body.endsWith("--" + boundary + "--\r\n"));
}
