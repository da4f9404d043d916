#include "startupnotice.h"

#include <QLabel>
#include <QStatusBar>

void showStartupNotice(QStatusBar *statusBar, const QString &text)
{
    auto *label = new QLabel(text, statusBar);
    label->setObjectName(QStringLiteral("startupNotice"));
    // A long notice never makes the window wider than the screen: it is cut
    // at the window's edge and shown whole in its tool tip.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setMinimumWidth(0);
    label->setToolTip(text);
    statusBar->addWidget(label, 1);
    QObject::connect(statusBar, &QStatusBar::messageChanged, label, [label](const QString &message) {
        if (!message.isEmpty())
            label->deleteLater();
    });
}
