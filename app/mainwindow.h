#pragma once

#include "celledit.h"
#include "documentformat.h"
#include "programwriter.h"
#include "wtablewidget.h"

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>

class Document;
class DocumentFind;
class QMenu;
class QTableWidgetItem;
class QTranslator;
class QUndoStack;
class Ui_MainWindow;
class UserDialogs;

// The program's one window and the owner of the document (see Document):
// five tables on five tabs that show it, the File, Edit, Options and Help
// menus, a tool bar and a status bar.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // `dialogs` answers every question and file dialog; the standard,
    // interactive ones when null. It must outlive the window.
    explicit MainWindow(QWidget *parent = nullptr, UserDialogs *dialogs = nullptr);
    ~MainWindow() override;

    // Document operations.
    void readSettings();
    void clearDocument();
    void buildTables();
    bool writeProgramFile(const QString &fileName);
    bool chooseSaveFile();
    bool readProgramFile(const QString &fileName);
    bool chooseOpenFile();
    bool loadParamNames(bool showWarnings);
    static QString encodingName(int index);
    static void applyEncoding();

    // Opens the program file at `path` as Open does after its file dialog,
    // with Open's question first (the command line, a drop, Recent files).
    void openFile(const QString &path);

    // The About box's two lines.
    static QString aboutText();

    // Read-only views for tests and tools.
    QString currentFileName() const;
    bool isDocChanged() const { return docChanged; }
    const Ui_MainWindow &form() const { return *ui; }
    WTableWidget *documentTable(tarvo::DocTable table) const;
    Document *currentDocument() const { return document; }
    QString paramName(int number) const { return paramNames.value(number - 1); }

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void newDoc();
    void openDoc();
    void saveDoc();
    void saveDocAs();
    void settings();
    void about();
    void docIsChanged(int row, int col);
    void showCellChange(tarvo::DocTable table, int row, int column, const QString &oldText, const QString &newText);
    void fillEditMenu();

private:
    void retranslate();
    void retranslateHistory();
    void setUpEditing();
    void editCells(tarvo::DocTable table, const tarvo::CellEdits &edits, WTableWidget::EditKind kind);
    void commitOpenEditors();
    void stepThroughHistory(void (QUndoStack::*step)());
    void resetFontSize();
    void addRow(tarvo::DocTable kind, int r);
    void setReadOnlyCell(WTableWidget *table, int row, int column, const QColor &colour);
    void colourLabelCells();
    static void setCellText(QTableWidgetItem *item, const QString &text);
    bool chooseDataFile(const QString &title, bool forSaving);
    bool hasSomethingToLose() const;
    bool askToClose();
    void readChosenFile();
    void setUpDesktopIntegration();
    void warnAboutReplacedCharacters(const QList<tarvo::UnencodableCell> &cells);

    Ui_MainWindow *ui;
    Document *document;
    bool docChanged = false; // follows document->isModified()
    QTranslator *translator = nullptr;
    QTranslator *toolkitTranslator = nullptr; // the toolkit's texts in the same language
    QStringList paramNames;
    UserDialogs *dialogs;
    QList<tarvo::UnencodableCell> replacedOnLastSave;
    QString lastFileError; // why the last read or write failed
    DocumentFind *finder = nullptr;
    QMenu *menuRecent = nullptr;

    // The cells an Undo or Redo changes, to show them once it is done.
    struct RevealedCell
    {
        tarvo::DocTable table;
        int row;
        int column;
    };
    QList<RevealedCell> revealed;
    bool revealing = false;
};
