#include "startupnotice.h"

#include <QLabel>
#include <QStatusBar>

void showStartupNotice(QStatusBar *statusBar, const QString &text)
{
    auto *label = new QLabel(text, statusBar);
    label->setObjectName(QStringLiteral("startupNotice"));
    statusBar->addWidget(label, 1);
    QObject::connect(statusBar, &QStatusBar::messageChanged, label, [label](const QString &message) {
        if (!message.isEmpty())
            label->deleteLater();
    });
}
