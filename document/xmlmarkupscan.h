#pragma once

#include <QByteArray>

namespace tarvo {

// A look at the markup of an XML document before any parser sees it, for
// the few shapes that cost an XML parser time out of all proportion to the
// file's size: a tag with thousands of attributes (each is checked against
// every other) and attribute lists in the document type declaration (whose
// defaults are added to every element they name). True when the document
// stays within limits that no hand-written file comes near.
bool xmlMarkupIsModest(const QByteArray &xml);

} // namespace tarvo
