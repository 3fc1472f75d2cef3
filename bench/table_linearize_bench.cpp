// Linearising the tables of pages of 2 and 8 MB: ordinary tables, many small
// tables, deep nesting and hostile text, each at both sizes; time per size
// should grow with the size (ratio about 4), not with its square.
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <limits>

#include "access/table_linearizer.h"

namespace {

QString repeated(const QString &unit, qsizetype size)
{
    QString page;
    page.reserve(size + unit.size());
    while (page.size() < size) page += unit;
    return page;
}

QString nested(qsizetype size)
{
    QString page;
    while (page.size() < size) {
        QString one;
        for (int i = 0; i < 1000; ++i) one += QStringLiteral("<table><tr><td>cell");
        for (int i = 0; i < 1000; ++i) one += QStringLiteral("</td></tr></table>");
        page += one;
    }
    return page;
}

double timeLinearize(const QString &page, qsizetype *tables)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        *tables = linearizeTables(page).size();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

}  // namespace

int main()
{
    const qsizetype small = 2 << 20;
    const qsizetype large = 8 << 20;
    const struct {
        const char *what;
        QString unit;
    } kinds[] = {
        {"ordinary rows", QStringLiteral("<tr><td>Apple &amp; pear</td><td><a href=\"x\">100</a></td></tr>\n")},
        {"many small tables", QStringLiteral("<table><tr><td>x</td></tr></table>\n")},
        {"\"&\" without end", QStringLiteral("<table><td>&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&")},
        {"\"<\" never closed", QStringLiteral("<table <td <img src=a ")},
    };
    std::printf("%-20s %10s %10s %8s %10s\n", "page", "2 MB ms", "8 MB ms", "ratio", "tables");
    for (const auto &kind : kinds) {
        qsizetype tables = 0;
        const double a = timeLinearize(QStringLiteral("<table>") + repeated(kind.unit, small), &tables);
        const double b = timeLinearize(QStringLiteral("<table>") + repeated(kind.unit, large), &tables);
        std::printf("%-20s %10.1f %10.1f %8.2f %10lld\n", kind.what, a, b, b / a, static_cast<long long>(tables));
    }
    qsizetype tables = 0;
    const double a = timeLinearize(nested(small), &tables);
    const double b = timeLinearize(nested(large), &tables);
    std::printf("%-20s %10.1f %10.1f %8.2f %10lld\n", "1000 deep, repeated", a, b, b / a, static_cast<long long>(tables));
    return 0;
}
