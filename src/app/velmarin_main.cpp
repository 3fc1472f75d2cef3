// velmarin: the window program.

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <unistd.h>

#include <cstdio>

#include "app/command_line.h"
#include "app/embedded_browser_gui.h"
#include "app/help_location.h"
#include "app/first_paint_report_gui.h"
#include "app/forwarded_command_line.h"
#include "app/main_form.h"
#include "app/single_instance.h"
#include "core/qt_translations.h"
#include "platform/program_folder.h"
#include "platform/termination_signals.h"

namespace {

// Start-up cannot go on: the general error display, before any window exists.
int refuseToStart(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    QMessageBox::critical(nullptr, QStringLiteral("Velmarin"), text);
    return 1;
}

// "--help" and "--version" alone answer on standard output, without a display.
int answerAndEnd(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (qstrcmp(argv[1], "--version") == 0) {
        const QString module = embeddedBrowserLibrary();
        const QString manual = HelpLocation::manualIndex();
        std::printf("Velmarin %s\n埋め込みブラウザ: %s\nヘルプ: %s\n", VELMARIN_VERSION,
                    module.isEmpty() ? "見つかりません" : module.toLocal8Bit().constData(),
                    manual.isEmpty() ? "見つかりません" : manual.toLocal8Bit().constData());
        return 0;
    }
    std::printf("使い方: velmarin [スイッチ] 文書...\n"
                "スイッチ: -tidy -css -link -all -ie -op -w3c -lint -wdg -cssu (\"/tidy\" とも書けます)\n"
                "スイッチは次の文書にだけ効きます。文書を省くとウインドウだけが開きます。\n"
                "詳しくはメニュー「ヘルプ → ヘルプの表示」をご覧ください。\n");
    return 0;
}

}  // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && (qstrcmp(argv[1], "--help") == 0 || qstrcmp(argv[1], "-h") == 0 ||
                      qstrcmp(argv[1], "--version") == 0))
        return answerAndEnd(argc, argv);

    // As root (containers, some kiosks) the embedded browsers' Chromium
    // sandbox cannot start.
    if (::getuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmarin"));
    QApplication::setApplicationVersion(QStringLiteral(VELMARIN_VERSION));
    installQtJapaneseTranslations(app);
    const QStringList arguments = app.arguments().mid(1);
    const QString runtimeProblem = SingleInstance::runtimeProblem();
    if (!runtimeProblem.isEmpty())
        return refuseToStart(runtimeProblem);

    SingleInstance instance;
    MainForm *form = nullptr;
    const bool first = instance.becomeFirst(
        [&form](const SingleInstance::Request &request, std::function<void()> done) {
            if (form == nullptr) {
                done();
                return;
            }
            if (!request.hasCommandLine) {
                form->raiseFromSecondStart();
                done();
                return;
            }
            form->handleForwarded(request.arguments, request.raise, std::move(done));
        });
    if (!first) {
        // Hand the command line to the running instance and wait for it.
        SingleInstance::Request request;
        request.hasCommandLine = !arguments.isEmpty();
        request.raise = arguments.isEmpty() ||
                        ForwardedCommandLine::raisesRunningInstance(arguments);
        // The running instance has a current folder of its own.
        request.arguments = absoluteDocuments(arguments, QDir::currentPath());
        SingleInstance::sendToFirst(request);
        return 0;
    }

    // Working files never go anywhere but the program folder.
    const QString folderProblem = ProgramFolder::workDirProblem();
    if (!folderProblem.isEmpty())
        return refuseToStart(folderProblem);

    MainForm window(arguments);
    form = &window;
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::terminationRequested, &window,
                     &QWidget::close);
    reportFirstPaintIfAsked(&window);
    window.show();
    const int status = app.exec();
    form = nullptr;
    return status;
}
