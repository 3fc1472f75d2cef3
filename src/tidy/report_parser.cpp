#include "report_parser.h"

#include <QFile>
#include <QStringView>
#include <algorithm>
#include <array>

#include "platform/text_codec.h"

namespace {

bool insidePair(QStringView text, qsizetype index)
{
    return index > 0 && index < text.size() && text.at(index).isLowSurrogate() &&
           text.at(index - 1).isHighSurrogate();
}

// The characters from the 1-based position from on, at most length of them,
// with the forgiving bounds the positions below rely on: a length below one
// or a start past the end gives an empty text. A piece never begins or ends
// between the halves of a surrogate pair; the half character is left out.
QStringView piece(QStringView text, qint64 from, qint64 length)
{
    const qint64 size = text.size();
    qint64 begin = std::max<qint64>(from, 1) - 1;
    if (length <= 0 || begin >= size) return {};
    qint64 end = std::min(size, begin + length);
    if (insidePair(text, begin)) ++begin;
    if (insidePair(text, end)) --end;
    if (end <= begin) return {};
    return text.mid(begin, end - begin);
}

// Blank means bytes 0x20 and below only. A line holding just a full-width
// space, DEL or a C1 control is a line of the report and keeps its row.
bool isBlank(QStringView line)
{
    return std::all_of(line.cbegin(), line.cend(), [](QChar c) { return c.unicode() <= 0x20; });
}

// The 0-based index of the first needle at or after from that does not
// begin on the second half of a surrogate pair, or -1.
qsizetype position(QStringView needle, QStringView text, qsizetype from,
                   Qt::CaseSensitivity cs = Qt::CaseSensitive)
{
    while (true) {
        const qsizetype found = text.indexOf(needle, from, cs);
        if (found < 0 || !insidePair(text, found)) return found;
        from = found + 1;
    }
}

bool contains(QStringView text, QStringView needle)
{
    return position(needle, text, 0) >= 0;
}

// Tidy 5 speaks English and starts each message with one of these words;
// a report we translated starts it with the Japanese word.
// They are only taken at the start of the message, so a quoted word inside a
// message does not change its kind.
struct EnglishPrefix {
    const char16_t *text;
    ReportKind kind;
};

const std::array<EnglishPrefix, 7> &englishPrefixes()
{
    // Config messages (an unknown or malformed option) do not judge the
    // page; they are shown as information so they still stand out. The last
    // two are the words of our Japanese report that have no older Japanese
    // rule below.
    static const std::array<EnglishPrefix, 7> prefixes{{
        {u"Warning: ", ReportKind::Warning},
        {u"Error: ", ReportKind::Error},
        {u"Info: ", ReportKind::Information},
        {u"Access: ", ReportKind::Accessibility},
        {u"Config: ", ReportKind::Information},
        {u"アクセシビリティ: ", ReportKind::Accessibility},
        {u"設定: ", ReportKind::Information},
    }};
    return prefixes;
}

ReportKind englishKind(QStringView message)
{
    for (const EnglishPrefix &prefix : englishPrefixes()) {
        if (message.startsWith(QStringView(prefix.text))) return prefix.kind;
    }
    return ReportKind::None;
}

// A located line's message: the English prefix first, then the Japanese
// prefixes anywhere in the message in the order warning, error, information.
ReportKind locatedKind(QStringView description)
{
    const ReportKind english = englishKind(description);
    if (english != ReportKind::None) return english;
    if (contains(description, u"警告: ")) return ReportKind::Warning;
    if (contains(description, u"エラー: ")) return ReportKind::Error;
    if (contains(description, u"情報: ")) return ReportKind::Information;
    return ReportKind::None;
}

// An unlocated line: "情報: " anywhere wins over the heading of the
// accessibility section and over a leading "警告: " or "エラー: ".
ReportKind unlocatedKind(QStringView line)
{
    const ReportKind english = englishKind(line);
    if (english != ReportKind::None) return english;
    if (contains(line, u"情報: ")) return ReportKind::Information;
    // Our Japanese report's unlocated warnings and errors keep the kind
    // their English word gave them.
    if (line.startsWith(u"警告: ")) return ReportKind::Warning;
    if (line.startsWith(u"エラー: ")) return ReportKind::Error;
    if (line.left(21) == QLatin1String("Accessibility Checks:")) return ReportKind::Accessibility;
    return ReportKind::None;
}

}  // namespace

int posFrom(const QString &needle, const QString &text, int start, bool caseBlind)
{
    if (needle.isEmpty() || start < 1 || start > text.size()) return 0;
    return static_cast<int>(
        position(needle, text, start - 1, caseBlind ? Qt::CaseInsensitive : Qt::CaseSensitive) + 1);
}

namespace {

// A 1-based position of needle from start on in line, 0 when there is none.
qint64 spaceFrom(QStringView line, qint64 start)
{
    if (start < 1 || start > line.size()) return 0;
    return position(u" ", line, start - 1) + 1;
}

ReportRow rowOf(QStringView line)
{
    ReportRow row;
    if (!line.startsWith(QLatin1String("line "))) {
        // "Line " with a capital and every other line are unlocated.
        row.description = line.toString();
        row.kind = unlocatedKind(line);
        return row;
    }
    // line <caption> column <column> - <description>
    // p1 is the space after the line number, p2 the one after the column
    // number; p1 + 8 skips " column ", p2 + 3 skips " - ". A line without
    // these spaces just gives empty or shortened cells.
    const qint64 p1 = spaceFrom(line, 6);
    row.caption = piece(line, 6, p1 - 6).toString();
    const qint64 p2 = spaceFrom(line, p1 + 8);
    row.column = piece(line, p1 + 8, p2 - p1 - 8).toString();
    // Tidy ends a located line with the message itself, so the description
    // runs to the end of the line.
    const QStringView description = piece(line, p2 + 3, line.size());
    row.description = description.toString();
    row.kind = locatedKind(description);
    return row;
}

}  // namespace

ReportRow parseReportLine(const QString &line)
{
    return rowOf(line);
}

QVector<ReportRow> parseTidyReport(const QString &text)
{
    QVector<ReportRow> rows;
    TextCodec::forEachLine(text, [&rows](QStringView line) {
        if (!isBlank(line)) rows.append(rowOf(line));
    });
    return rows;
}

QVector<ReportRow> loadTidyReportFile(const QString &path, bool *exists)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (exists) *exists = opened;
    if (!opened) return {};
    return parseTidyReport(TextCodec::decode(file.readAll()));
}
