#include "integration/hot_key_widget.h"

#include <QKeyEvent>

#include "integration/shortcut.h"

namespace {

// The flag of a modifier key itself. Whether its own press and release
// events carry it differs between platforms, so the field settles it.
Qt::KeyboardModifiers ownModifier(int key)
{
    switch (key) {
    case Qt::Key_Shift:
        return Qt::ShiftModifier;
    case Qt::Key_Control:
        return Qt::ControlModifier;
    case Qt::Key_Alt:
        return Qt::AltModifier;
    default:
        return Qt::NoModifier;
    }
}

bool isModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

QString modifierText(Qt::KeyboardModifiers modifiers)
{
    QString text;
    if (modifiers & Qt::ShiftModifier)
        text += QStringLiteral("Shift+");
    if (modifiers & Qt::ControlModifier)
        text += QStringLiteral("Ctrl+");
    if (modifiers & Qt::AltModifier)
        text += QStringLiteral("Alt+");
    return text;
}

}  // namespace

HotKeyEdit::HotKeyEdit(QWidget *parent) : QLineEdit(parent)
{
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setPlaceholderText(QStringLiteral("なし"));
    showValue();
}

void HotKeyEdit::setShortcut(quint16 shortcut)
{
    if (shortcut == m_shortcut) {
        showValue();
        return;
    }
    m_shortcut = shortcut;
    showValue();
    Q_EMIT shortcutChanged(m_shortcut);
}

void HotKeyEdit::showValue()
{
    setText(shortcutToText(m_shortcut));
}

bool HotKeyEdit::event(QEvent *event)
{
    // Keys that would otherwise be shortcuts of the line edit (Ctrl+A, Ctrl+C,
    // ...) or of the window reach keyPressEvent, so they can be captured.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void HotKeyEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool ctrlOrAlt = modifiers & (Qt::ControlModifier | Qt::AltModifier);
    if (!ctrlOrAlt && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
        event->ignore();
        return;
    }
    if (isModifierKey(key)) {
        m_partial = true;
        setText(modifierText(modifiers | ownModifier(key)));
        event->accept();
        return;
    }
    m_partial = false;
    const quint16 pressed = shortcutFromQtKey(key, modifiers);
    if (pressed != 0)
        setShortcut(captureRule(pressed));
    else
        showValue();
    event->accept();
}

void HotKeyEdit::keyReleaseEvent(QKeyEvent *event)
{
    if (isModifierKey(event->key())) {
        const Qt::KeyboardModifiers left = event->modifiers() & ~ownModifier(event->key());
        // Once a combination was taken it stays shown while the modifiers
        // are let go; without one, the field shows what is still held.
        if (!m_partial || !(left & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
            m_partial = false;
            showValue();
        } else {
            setText(modifierText(left));
        }
    }
    event->accept();
}
