#pragma once

#include <QLineEdit>

// A field that takes one shortcut by pressing it, like the hot-key field of
// the Windows program: it shows the modifiers while they are held and the
// whole combination once a key is pressed with them. The capture rule
// applies: a key alone or with Shift alone is taken with Alt.
// Tab moves on; Enter and Esc without Ctrl or Alt are left to the dialog.
class HotKeyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit HotKeyEdit(QWidget *parent = nullptr);

    // The shortcut value (Windows virtual-key code plus modifier bits); 0 is none.
    quint16 shortcut() const { return m_shortcut; }
    void setShortcut(quint16 shortcut);

Q_SIGNALS:
    void shortcutChanged(quint16 shortcut);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void showValue();

    quint16 m_shortcut = 0;
    bool m_partial = false;  // only modifiers are held and shown
};
