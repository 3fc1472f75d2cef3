#include "integration/shortcut_dispatch.h"

int commandForKey(const QVector<KeyedCommand> &commands, quint16 key)
{
    if (key == 0)
        return -1;
    for (int i = 0; i < commands.size(); ++i) {
        const KeyedCommand &c = commands.at(i);
        if (c.enabled && (c.key == key || c.menuKey == key))
            return i;
    }
    return -1;
}
