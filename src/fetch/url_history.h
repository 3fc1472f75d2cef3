#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// The URL dialog's history, URLList.txt: one address per line, CR LF,
// newest first, no two lines equal. Read as UTF-8 when the file is valid
// UTF-8, else line by line as CP932. The file is always written wholly in one
// encoding, CP932 unless an address needs UTF-8, so the next start reads it
// as it was written; a line that was neither UTF-8 nor CP932 cannot be
// written back and is dropped, with a notice. A file that exists but cannot
// be read is never replaced.
class UrlHistory {
public:
    struct Entry {
        QString text;    // the address as shown
        QByteArray raw;  // the line's own bytes when they could not be decoded
    };

    explicit UrlHistory(QString path);

    // False when the file exists but could not be read; the history is then
    // empty and save() leaves the file alone.
    bool load();
    QStringList entries() const;
    // `url` becomes the first entry; an equal entry further down goes.
    void accept(const QString &url);
    // Replaces the file atomically. False with *error set when it could not;
    // *notice names the lines that were dropped (empty when none were).
    bool save(QString *error = nullptr, QString *notice = nullptr);

    // The file format, for the reader's own tests.
    static QVector<Entry> parse(const QByteArray &bytes, bool *utf8);
    static QByteArray serialize(const QVector<Entry> &entries, bool utf8);

private:
    QString m_path;
    QVector<Entry> m_entries;
    bool m_utf8 = false;
    bool m_unreadable = false;
};
