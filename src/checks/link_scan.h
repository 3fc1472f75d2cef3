#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

class THtmlParser2;

// The two uses the link check makes of the tag scanner: collecting the links
// of a document and looking for a named anchor in a target page. The page is
// first converted to UTF-8 from its declared or detected encoding
// (html/page_encoding.h); the scanner then holds the converted text.
//
// An attribute string counts when the text before its first "=" is the
// attribute's name (case-blind, separators around it ignored); its value is
// the rest, without one leading quote (double or single) and the same quote
// at its end.

// The href of a and link elements and the src of img elements, in document
// order, one entry per occurrence; mailto: values are left out.
QStringList extractLinkTargets(THtmlParser2 &scanner);

// True when any element has an id, or an a element a name, equal to `name` (a
// leading "#" dropped) with ASCII case ignored. `stop` is asked at every tag;
// when it answers true the search gives false at once.
bool documentHasAnchor(THtmlParser2 &scanner, QString name, const std::function<bool()> &stop = {});

// Every anchor name of the page (ids of all elements, names of a elements),
// ASCII lower-cased. False when `stop` ended the scan early.
bool collectAnchors(THtmlParser2 &scanner, QSet<QString> *anchors,
                    const std::function<bool()> &stop = {});
