#pragma once

// What the window tests share: modal windows answered from inside, and screenshots.
#include <functional>

#include "support/window_test.h"

// Runs `inside` on the modal window of type T as soon as one opens; polls,
// since some windows open their modal only after an event-loop turn.
template <class T>
void onNextModal(QObject *context, std::function<void(T *)> inside)
{
    auto *poll = new QTimer(context);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, context, [poll, inside] {
        if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            inside(window);
        }
    });
    poll->start();
}

// Saves what `widget` shows as `name` (a .png) where the screenshots go.
inline bool saveScreenshot(QWidget *widget, const QString &name)
{
    return widget->grab().toImage().save(screenshotDir() + u'/' + name);
}
