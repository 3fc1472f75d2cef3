// Collecting the links of a 1 MB page: hostile pages made of tags that never
// close, or that overlap, next to an ordinary page of the same size.
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <limits>

#include "checks/link_scan.h"
#include "html/tag_scanner.h"

namespace {

constexpr qsizetype kSize = 1 << 20;
constexpr int kRepetitions = 5;

QByteArray repeated(const QByteArray &unit)
{
    QByteArray page;
    page.reserve(kSize + unit.size() + 1);
    while (page.size() < kSize) page += unit;
    return page + '>';
}

// The best of a few runs, in milliseconds; the number of links found.
double timeLinks(const QByteArray &page, qsizetype *links)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < kRepetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        THtmlParser2 scanner;
        scanner.setText(page);
        *links = extractLinkTargets(scanner).size();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

}  // namespace

int main()
{
    const struct {
        const char *what;
        QByteArray page;
    } pages[] = {
        {"ordinary page",
         repeated("<p class=\"x\">Some text <a href=\"page.html#part\">link</a></p>\n")},
        {"\"< a\" repeated", repeated("< a")},
        {"\"<a href=x \" repeated", repeated("<a href=x ")},
        {"\"<a title=\\\"\" repeated", repeated("<a title=\"")},
        {"\"<'\\\"x '\" repeated", repeated("<'\"x '")},
    };
    qsizetype links[std::size(pages)] = {};
    double ms[std::size(pages)] = {};
    timeLinks(pages[0].page, &links[0]);  // warm-up
    for (size_t i = 0; i < std::size(pages); ++i) ms[i] = timeLinks(pages[i].page, &links[i]);
    std::printf("%-28s %10s %10s %8s\n", "1 MB page", "ms", "links", "ratio");
    for (size_t i = 0; i < std::size(pages); ++i) {
        std::printf("%-28s %10.1f %10lld %8.2f\n", pages[i].what, ms[i],
                    static_cast<long long>(links[i]), ms[i] / ms[0]);
    }
    return 0;
}
