#pragma once

#include <QString>

// The URL dialog's refusals of OK, in their order: the message to show, or
// empty when the address and the ticked checks are accepted.
QString urlDialogRefusal(const QString &text, bool anyCheckTicked);

// The seven checks of the URL dialog, in the order they run.
constexpr int kUrlCheckCount = 7;
