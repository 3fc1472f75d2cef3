#pragma once

#include <QStringList>
#include <optional>

// "--contrast FG BG" and "--gray IN OUT.png": the colour check and the
// grayscale view from a console. Returns the exit status when the arguments
// are one of these, else nothing.
std::optional<int> runAccessCommand(const QStringList &arguments);
