#include "lazyicon.h"

#include <QFile>
#include <QIconEngine>
#include <QPainter>

namespace {

class LazyIconEngine : public QIconEngine
{
public:
    LazyIconEngine(const QString &fileName, const QString &themeName)
        : m_fileName(fileName), m_themeName(themeName)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    // Whether there is an image at all is known without decoding it.
    bool isNull() override { return !QFile::exists(m_fileName) && (m_themeName.isEmpty() || icon().isNull()); }
    QString key() const override { return QStringLiteral("tarvo-lazy"); }
    QIconEngine *clone() const override { return new LazyIconEngine(m_fileName, m_themeName); }

private:
    const QIcon &icon()
    {
        if (!m_loaded) {
            m_icon = m_themeName.isEmpty() ? QIcon(m_fileName) : QIcon::fromTheme(m_themeName, QIcon(m_fileName));
            m_loaded = true;
        }
        return m_icon;
    }

    QString m_fileName;
    QString m_themeName;
    QIcon m_icon;
    bool m_loaded = false;
};

} // namespace

QIcon lazyIcon(const QString &fileName, const QString &themeName)
{
    return QIcon(new LazyIconEngine(fileName, themeName));
}
