#pragma once

// What the window tests share: modal windows answered from inside, and screenshots.
#include <functional>

#include "support/window_test.h"

// Runs `inside` on the modal window of type T that opens next, if one does.
template <class T>
void onNextModal(QObject *context, std::function<void(T *)> inside)
{
    QTimer::singleShot(0, context, [inside] {
        if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget()))
            inside(window);
    });
}

// Saves what `widget` shows as `name` (a .png) where the screenshots go.
inline bool saveScreenshot(QWidget *widget, const QString &name)
{
    return widget->grab().toImage().save(screenshotDir() + u'/' + name);
}
