#pragma once

#include <QStringList>
#include <optional>

// The command line a second start hands to the running instance: every
// argument in double quotes (a quote inside doubled), joined by ",".
namespace ForwardedCommandLine {

QString encode(const QStringList &arguments);

// The arguments of a received text, or nothing when the text is malformed
// (an unterminated quote, text after a closing quote).
std::optional<QStringList> decode(const QString &text);

// Whether the second start brings the running instance to the front: only
// when its leading switches ask for a CSS or link check and none of
// -ie, -op and -tidy, and a document follows them.
bool raisesRunningInstance(const QStringList &arguments);

}  // namespace ForwardedCommandLine
