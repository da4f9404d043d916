#pragma once

#include <QObject>
#include <QList>
#include <QString>

class QAction;
class QStatusBar;
class QTabWidget;
class QTableWidget;
class QWidget;
class UserDialogs;

// Edit ▸ Find (Ctrl+F) and Find next (F3): looks through every table, tab
// by tab, for a cell holding the text (a department, parameter, header line
// or payment by its name, value or number) and moves to it.
class DocumentFind : public QObject
{
    Q_OBJECT

public:
    struct Position
    {
        int tab = -1;
        int row = -1;
        int column = -1;
        bool operator==(const Position &other) const
        {
            return tab == other.tab && row == other.row && column == other.column;
        }
    };

    // `tables` are the tables of the tabs of `tabs`, by tab index.
    DocumentFind(QWidget *window, QTabWidget *tabs, const QList<QTableWidget *> &tables, UserDialogs *dialogs,
                 QStatusBar *statusBar);

    QAction *findAction() const { return m_find; }
    QAction *findNextAction() const { return m_findNext; }

    // The first cell after `from` (row by row, tab by tab, round to the
    // start) that matches `text`: a number cell matches its whole number,
    // any other cell what it contains, without regard to case. `from`
    // itself is looked at last. An invalid position when none matches.
    static Position findCell(const QList<QTableWidget *> &tables, const QString &text, const Position &from);

    // Finds `text` after the current cell and moves there; false when
    // nothing matches.
    bool findNext(const QString &text);

private:
    void ask();
    void retranslate();
    bool eventFilter(QObject *watched, QEvent *event) override;

    QWidget *m_window;
    QTabWidget *m_tabs;
    QList<QTableWidget *> m_tables;
    UserDialogs *m_dialogs;
    QStatusBar *m_statusBar;
    QAction *m_find;
    QAction *m_findNext;
    QString m_text;
};
