// Building the five document tables: rows, columns, labels, read-only
// cells and the numeric cell editors.

#include "mainwindow.h"

#include "doubledelegate.h"
#include "intdelegate.h"
#include "ui_mainwindow.h"
#include "appidentity.h"
#include "datafiles.h"
#include "paramnamesfile.h"
#include "startupnotice.h"

#include <QSignalBlocker>
#include <QStatusBar>

#include <QHeaderView>

namespace {

// The label cells' backgrounds in a light palette.
const QColor kNumberCellColour(220, 233, 252);
const QColor kNameCellColour(240, 253, 255);

QColor mixed(const QColor &from, const QColor &to, qreal amount)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * amount),
                            float(from.greenF() + (to.greenF() - from.greenF()) * amount),
                            float(from.blueF() + (to.blueF() - from.blueF()) * amount));
}

// A label cell's background for the palette in force: the light tints on a
// light base, a tint of the base towards the highlight on a dark one. The
// text takes the palette's text colour, set with it, so the pair always
// reads.
QColor labelBackground(const QPalette &palette, const QColor &lightTint)
{
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    if (base.lightnessF() >= 0.5)
        return lightTint;
    const qreal strength = lightTint == kNumberCellColour ? 0.28 : 0.14;
    return mixed(base, palette.color(QPalette::Active, QPalette::Highlight), strength);
}
constexpr int kRowHeight = 22;

struct ColumnWidths
{
    tarvo::DocTable table;
    QVector<int> widths;
};

const ColumnWidths kColumnWidths[] = {
    {tarvo::DocTable::Params, {50, 350, 300}},
    {tarvo::DocTable::Depts, {50, 180, 100, 120, 100}},
    {tarvo::DocTable::Lines, {150, 300}},
    {tarvo::DocTable::Comments, {50, 300}},
    {tarvo::DocTable::Payments, {50, 150, 150, 80}},
};

// The cell editors of a table's columns: the numeric columns check what is
// typed; every other column keeps the table's own free-text editor. The
// label columns of the tables numbered by a single count carry a bounded
// whole-number editor, though no editor ever opens on them.
void installColumnEditors(tarvo::DocTable kind, WTableWidget *table)
{
    using tarvo::DocTable;
    if (kind == DocTable::Params || kind == DocTable::Lines || kind == DocTable::Comments)
        table->setItemDelegateForColumn(tarvo::col::Num, new IntDelegate(1, 100, table));
    const tarvo::TableFormat &format = tarvo::tableFormat(kind);
    for (int i = 0; i < format.cellCount; ++i) {
        const tarvo::ColumnFormat &cell = format.cells[i];
        NumberDelegate *check = nullptr;
        if (cell.kind == tarvo::CellKind::Decimal)
            check = new DoubleDelegate(0, 0, table);
        else if (cell.kind == tarvo::CellKind::Whole)
            check = new IntDelegate(0, 0, table);
        if (!check)
            continue;
        table->setItemDelegateForColumn(cell.column, check);
        // A refused value is told where the table tells its refused pastes.
        QObject::connect(check, &NumberDelegate::valueRefused, table, &WTableWidget::valueRefused);
    }
}

} // namespace

void MainWindow::buildTables()
{
    retranslate();
    showFileState();
    ui->toolBar->setIconSize(QSize(32, 32));
    ui->toolBar->setMovable(false);
    ui->tabMain->setCurrentIndex(0);
    // Long or translated tab texts scroll rather than widen the window.
    ui->tabMain->setUsesScrollButtons(true);

    for (const ColumnWidths &entry : kColumnWidths) {
        WTableWidget *table = documentTable(entry.table);
        table->setSelectionBehavior(QAbstractItemView::SelectItems);
        table->setSortingEnabled(false);
        for (int c = 0; c < entry.widths.size(); ++c)
            table->setColumnWidth(c, entry.widths.at(c));
    }

    loadParamNames(false);
    // Said once, quietly: the table works without the names.
    if (datafiles::locate(tarvo::paramNamesFileName()).isEmpty())
        showStartupNotice(statusBar(), tr("The parameter names file %1 was not found; the names of the system "
                                          "parameters are empty.")
                                           .arg(tarvo::paramNamesFileName()));
    for (int t = 0; t < tarvo::kTableCount; ++t) {
        const tarvo::DocTable kind = tarvo::tableAt(t);
        WTableWidget *table = documentTable(kind);
        for (int r = 0; r < tarvo::rowCount(kind); ++r) {
            addRow(kind, r);
            const QString label = kind == tarvo::DocTable::Lines ? tr("Header %1").arg(r + 1)
                                                                 : QString::number(r + 1);
            setCellText(table->item(r, 0), label);
            if (kind == tarvo::DocTable::Params)
                setCellText(table->item(r, 1), paramNames.value(r));
        }
    }
}

void MainWindow::addRow(tarvo::DocTable kind, int r)
{
    WTableWidget *table = documentTable(kind);
    if (r == 0)
        installColumnEditors(kind, table);
    table->insertRow(r);
    table->setRowHeight(r, kRowHeight);
    for (int c = 0; c < table->columnCount(); ++c)
        table->setItem(r, c, table->newItem());
    setReadOnlyCell(table, r, 0, kNumberCellColour);
    if (kind == tarvo::DocTable::Params)
        setReadOnlyCell(table, r, 1, kNameCellColour);
}

// Again after the palette changed, so the label cells read in the new one;
// no cell text changes, and the tables say nothing.
void MainWindow::colourLabelCells()
{
    for (int t = 0; t < tarvo::kTableCount; ++t) {
        const tarvo::DocTable kind = tarvo::tableAt(t);
        WTableWidget *table = documentTable(kind);
        const QSignalBlocker quiet(table);
        for (int r = 0; r < table->rowCount(); ++r) {
            setReadOnlyCell(table, r, 0, kNumberCellColour);
            if (kind == tarvo::DocTable::Params)
                setReadOnlyCell(table, r, 1, kNameCellColour);
        }
        table->viewport()->update();
    }
}

void MainWindow::setReadOnlyCell(WTableWidget *table, int row, int column, const QColor &colour)
{
    QTableWidgetItem *item = table->item(row, column);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    const QPalette palette = table->palette();
    item->setData(Qt::BackgroundRole, QBrush(labelBackground(palette, colour), Qt::SolidPattern));
    item->setData(Qt::ForegroundRole, QBrush(palette.color(QPalette::Active, QPalette::Text), Qt::SolidPattern));
}

// Only for the labels: document cells show what the document holds.
void MainWindow::setCellText(QTableWidgetItem *item, const QString &text)
{
    if (item->data(Qt::DisplayRole).toString() != text)
        item->QTableWidgetItem::setData(Qt::DisplayRole, text);
}
