#include "app/embedded_browser_gui.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace {

// Qt WebEngine wants OpenGL contexts shared before the application object
// exists. Linked in, it says so itself; loaded later, it no longer can.
void prepareForLateEngine()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
Q_CONSTRUCTOR_FUNCTION(prepareForLateEngine)

const char kLibraryName[] = "libvelmarin_webview.so";

// Beside the executable when run from the build folder or a portable copy;
// the build folder's copy for the test programs, which live elsewhere.
QStringList libraryCandidates()
{
    const QString here = QCoreApplication::applicationDirPath() + u'/';
    QStringList candidates{here + QLatin1String(kLibraryName)};
#ifdef VELMARIN_WEBVIEW_INSTALL_DIR
    // Installed: the program's library folder, relative to its bin folder.
    candidates << QDir::cleanPath(here + QStringLiteral(VELMARIN_WEBVIEW_INSTALL_DIR) + u'/' +
                                  QLatin1String(kLibraryName));
#endif
#ifdef VELMARIN_WEBVIEW_BUILD_PATH
    candidates << QStringLiteral(VELMARIN_WEBVIEW_BUILD_PATH);
#endif
    return candidates;
}

CreateEmbeddedBrowserFunction loadEngine(QString *error)
{
    static CreateEmbeddedBrowserFunction create = nullptr;
    static QString failure;
    if (create != nullptr || !failure.isEmpty()) {
        *error = failure;
        return create;
    }
    QStringList reasons;
    for (const QString &path : libraryCandidates()) {
        if (!QFileInfo::exists(path))
            continue;
        QLibrary library(path);  // stays loaded for the life of the process
        create = reinterpret_cast<CreateEmbeddedBrowserFunction>(
            library.resolve(VELMARIN_CREATE_BROWSER_SYMBOL));
        if (create != nullptr)
            return create;
        reasons << library.errorString();
    }
    failure = reasons.isEmpty() ? QLatin1String(kLibraryName) + QStringLiteral("がありません。")
                                : reasons.join(u'\n');
    *error = failure;
    return nullptr;
}

}  // namespace

QString embeddedBrowserLibrary()
{
    for (const QString &path : libraryCandidates()) {
        if (QFileInfo::exists(path))
            return path;
    }
    return QString();
}

EmbeddedBrowser *createEmbeddedBrowser(QWidget *parent, QString *error)
{
    QString reason;
    const CreateEmbeddedBrowserFunction create = loadEngine(&reason);
    if (error != nullptr)
        *error = reason;
    return create != nullptr ? create(parent) : nullptr;
}
