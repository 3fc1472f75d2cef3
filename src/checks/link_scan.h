#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class THtmlParser2;

// The two uses the link check makes of the tag scanner: collecting the links
// of a document and looking for a named anchor in a target page. Texts are
// decoded as the whole document is: UTF-8 when it is valid UTF-8, else CP932.

// The href of a and link elements and the src of img elements, in document
// order, one entry per occurrence; mailto: values are left out.
QStringList extractLinkTargets(THtmlParser2 &scanner);

// True when an a element has a name, or any other element an id, equal to
// `name` (a leading "#" dropped) with ASCII case ignored. `stop` is asked
// at every tag; when it answers true the search gives false at once.
bool documentHasAnchor(THtmlParser2 &scanner, QString name, const std::function<bool()> &stop = {});
