// The yardstick of startup_bench: an empty Qt main window of the same
// designed size, reporting its first paint the way velmarin does.
#include <QApplication>
#include <QMainWindow>

#include "app/first_paint_report_gui.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(623, 480);
    reportFirstPaintIfAsked(&window);
    window.show();
    return app.exec();
}
