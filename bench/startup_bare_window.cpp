// The yardsticks of startup_bench: an empty Qt main window of the same
// designed size, and with --label the same window showing one line of
// Japanese text in the window font, reporting its first paint the way
// velmarin does. The second shows what drawing any Japanese text costs:
// the font system's set-up and a CJK font face.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include "app/first_paint_report_gui.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(623, 480);
    if (app.arguments().contains(QStringLiteral("--label"))) {
        QFont font;
        font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP")});
        font.setPixelSize(12);
        window.setFont(font);
        window.setCentralWidget(new QLabel(QStringLiteral("文法チェック"), &window));
    }
    reportFirstPaintIfAsked(&window);
    window.show();
    return app.exec();
}
