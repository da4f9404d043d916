#include "usage.h"

#include "helptext.h"
#include "tarvoversion.h"

QString versionText() { return QStringLiteral("tarvo-prg " TARVO_VERSION); }

QString usageText() { return QString::fromUtf8(kHelpText); }
