#pragma once

#include <QString>

// How a document handed to a check is taken. A string that names an existing
// file is that file, whatever its name begins with ("httpd-notes.html");
// otherwise its lower-cased beginning decides: "http" is downloaded, "ftp",
// "wais" and "gopher" name protocols the program cannot fetch, and anything
// else is a local path (which may be missing).
enum class DocumentKind { Http, OtherProtocol, Local };

DocumentKind classifyDocument(const QString &document);
// The same with the existence question already answered by the caller.
DocumentKind classifyDocument(const QString &document, bool namesExistingFile);
