// velmarin: the window program.

#include <QApplication>

#include <unistd.h>

#include "app/first_paint_report_gui.h"
#include "app/forwarded_command_line.h"
#include "app/main_form.h"
#include "app/single_instance.h"
#include "platform/termination_signals.h"

int main(int argc, char *argv[])
{
    // As root (containers, some kiosks) the embedded browsers' Chromium
    // sandbox cannot start.
    if (::getuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmarin"));
    QApplication::setApplicationVersion(QStringLiteral(VELMARIN_VERSION));
    const QStringList arguments = app.arguments().mid(1);

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
        request.arguments = arguments;
        SingleInstance::sendToFirst(request);
        return 0;
    }

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
