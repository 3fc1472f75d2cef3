#include "core/problem_notice.h"

#include "core/view.h"

namespace {

constexpr int kProblemsShown = 20;

}  // namespace

void noticeProblems(View &view, const QStringList &problems)
{
    if (problems.isEmpty())
        return;
    QStringList lines = problems.mid(0, kProblemsShown);
    if (problems.size() > kProblemsShown)
        lines << QStringLiteral("ほか%1件").arg(problems.size() - kProblemsShown);
    view.notice(QStringLiteral("チェックできなかったものがあります。\n") + lines.join(u'\n'));
}
