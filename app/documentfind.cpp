#include "documentfind.h"

#include "userdialogs.h"

#include <QAction>
#include <QEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>

DocumentFind::DocumentFind(QWidget *window, QTabWidget *tabs, const QList<QTableWidget *> &tables,
                           UserDialogs *dialogs, QStatusBar *statusBar)
    : QObject(window), m_window(window), m_tabs(tabs), m_tables(tables), m_dialogs(dialogs), m_statusBar(statusBar)
{
    m_find = new QAction(this);
    m_find->setObjectName(QStringLiteral("actionFind"));
    m_find->setShortcut(QKeySequence::Find);
    m_findNext = new QAction(this);
    m_findNext->setObjectName(QStringLiteral("actionFindNext"));
    m_findNext->setShortcut(QKeySequence::FindNext);
    // The keys work wherever the focus is in the window, menu or not.
    window->addAction(m_find);
    window->addAction(m_findNext);
    connect(m_find, &QAction::triggered, this, &DocumentFind::ask);
    connect(m_findNext, &QAction::triggered, this, [this] {
        if (m_text.isEmpty())
            ask();
        else
            findNext(m_text);
    });
    window->installEventFilter(this);
    retranslate();
}

bool DocumentFind::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::LanguageChange)
        retranslate();
    return QObject::eventFilter(watched, event);
}

void DocumentFind::retranslate()
{
    m_find->setText(tr("&Find..."));
    m_find->setToolTip(tr("Find a cell by name, value or number"));
    m_findNext->setText(tr("Find &Next"));
}

namespace {

bool matches(const QTableWidget *table, int row, int column, const QString &text)
{
    const QTableWidgetItem *item = table->item(row, column);
    if (!item)
        return false;
    const QString shown = item->text().trimmed();
    if (column == 0) // the row's number, or "Header 3": the whole number
        return shown.compare(text, Qt::CaseInsensitive) == 0
            || shown.endsWith(QLatin1Char(' ') + text, Qt::CaseInsensitive);
    return shown.contains(text, Qt::CaseInsensitive);
}

} // namespace

DocumentFind::Position DocumentFind::findCell(const QList<QTableWidget *> &tables, const QString &text,
                                              const Position &from)
{
    const QString wanted = text.trimmed();
    if (wanted.isEmpty() || tables.isEmpty())
        return {};
    // Every cell once, starting with the one after `from`.
    QList<Position> cells;
    for (int t = 0; t < tables.size(); ++t)
        for (int r = 0; r < tables.at(t)->rowCount(); ++r)
            for (int c = 0; c < tables.at(t)->columnCount(); ++c)
                cells.append({t, r, c});
    const qsizetype start = cells.indexOf(from) + 1; // 0 when `from` is no cell
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const Position &cell = cells.at((start + i) % cells.size());
        if (matches(tables.at(cell.tab), cell.row, cell.column, wanted))
            return cell;
    }
    return {};
}

bool DocumentFind::findNext(const QString &text)
{
    m_text = text;
    Position from;
    from.tab = m_tabs->currentIndex();
    if (from.tab >= 0 && from.tab < m_tables.size()) {
        const QTableWidget *table = m_tables.at(from.tab);
        from.row = table->currentRow();
        from.column = table->currentColumn();
        if (from.row < 0 || from.column < 0) {
            // Nothing current: the search starts at the tab's first cell.
            const int previous = int((from.tab + m_tables.size() - 1) % m_tables.size());
            from = {previous, m_tables.at(previous)->rowCount() - 1, m_tables.at(previous)->columnCount() - 1};
        }
    }
    const Position found = findCell(m_tables, text, from);
    if (found.tab < 0) {
        m_statusBar->showMessage(tr("Not found: %1").arg(text.trimmed()));
        return false;
    }
    m_statusBar->clearMessage();
    m_tabs->setCurrentIndex(found.tab);
    QTableWidget *table = m_tables.at(found.tab);
    table->setCurrentCell(found.row, found.column);
    table->scrollToItem(table->item(found.row, found.column));
    table->setFocus(Qt::ShortcutFocusReason);
    return true;
}

void DocumentFind::ask()
{
    QString text = m_text;
    const bool asked = m_dialogs->askText(m_window, tr("Find"), tr("Name, value or number:"), &text);
    // The window takes the keys again (menus and their Alt keys included),
    // also where no window manager hands them back.
    m_window->activateWindow();
    if (!asked || text.trimmed().isEmpty())
        return;
    findNext(text);
}
