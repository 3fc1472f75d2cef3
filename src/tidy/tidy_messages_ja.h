#pragma once

#include <QStringView>

#include <vector>

// Tidy's report messages in Japanese, one entry per message id (the label
// that `tidy -xml-strings` lists and `tidy --mute-id yes` appends to a
// report line). {1}, {2}, ... stand for the values of the English
// template's printf placeholders, in the order they occur there.
struct TidyMessageJa {
    const char *id;
    const char *text;  // UTF-8
};

// Every entry, in the order of the table.
const std::vector<TidyMessageJa> &tidyMessagesJa();

// The entry for an id, or nullptr when there is none.
const TidyMessageJa *findTidyMessageJa(QStringView id);
