// Japanese pages through the real tidy with the configuration of a first start.
#include <gtest/gtest.h>
#include <iconv.h>

#include <QStandardPaths>
#include <QStringListModel>

#include "core/app_settings.h"
#include "core/settings_store.h"
#include "fetch/http_client.h"
#include "platform/atomic_file.h"
#include "platform/browser_bridge.h"
#include "support/recording_runner.h"
#include "support/recording_view.h"
#include "support/temp_home.h"
#include "tidy/report_list_model.h"
#include "tidy/tidy_run.h"

namespace {

QByteArray encoded(const QString &text, const char *encoding)
{
    const QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 4, '\0');
    iconv_t cd = iconv_open(encoding, "UTF-8");
    char *from = const_cast<char *>(in.constData());
    char *to = out.data();
    size_t fromLeft = size_t(in.size()), toLeft = size_t(out.size());
    const size_t converted = iconv(cd, &from, &fromLeft, &to, &toLeft);
    iconv_close(cd);
    EXPECT_NE(converted, size_t(-1)) << encoding;
    out.truncate(out.size() - qsizetype(toLeft));
    return out;
}

}  // namespace

TEST(JapanesePageTest, FirstStartSettingsKeepShiftJisEucJpAndUtf8PagesIntact)
{
    ASSERT_FALSE(QStandardPaths::findExecutable("tidy").isEmpty()) << "tidy is not installed";
    TempHome home;
    AppSettings settings;
    RecordingView view;
    SettingsStore store(settings, view);
    store.load();  // a first start: writes Velmarin.txt and finds tidy on PATH
    ASSERT_FALSE(settings.tidyPath.isEmpty());

    RecordingRunner runner;
    HttpClient http;
    NoBrowserBridge browsers;
    ReportListModel list;
    QStringListModel selector;
    TidyRun run(settings, store, view, runner, http, browsers, list, selector);

    // "ソ" and "表" end in the byte "\" in Shift_JIS.
    const QString title = "日本語のページ";
    const QString text = "これは日本語の段落です。表示・ソース・「記号」、ｶﾀｶﾅ。";
    for (const char *encoding : {"CP932", "EUC-JP", "UTF-8"}) {
        SCOPED_TRACE(encoding);
        const QString page = "<!DOCTYPE html>\n<html>\n<head>\n<title>" + title +
                             "</title>\n</head>\n<body>\n<p>" + text + "</p>\n</body>\n</html>\n";
        home.write("page.html", encoded(page, encoding));
        ASSERT_EQ(run.run(home.file("page.html")), TidyRun::Outcome::Checked);

        const QByteArray tidied = readWholeFile(TidyRun::outputPath());
        EXPECT_TRUE(tidied.contains(encoded(title, encoding))) << tidied.constData();
        EXPECT_TRUE(tidied.contains(encoded(text, encoding))) << tidied.constData();
        EXPECT_FALSE(tidied.contains("&#")) << tidied.constData();
        for (const ReportRow &row : list.rows())
            EXPECT_FALSE(row.description.contains("invalid character"))
                << row.description.toStdString();
    }
}
