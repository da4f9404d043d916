#pragma once

#include "celledit.h"
#include "documentformat.h"
#include "filefingerprint.h"
#include "programfiles.h"
#include "wtablewidget.h"

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>

class Document;
class DocumentFind;
class QMenu;
class QLabel;
class QTableWidgetItem;
class RecoveryKeeper;
class QTranslator;
class QUndoStack;
class Ui_MainWindow;
class UserDialogs;

// The program's one window: five tables on five tabs that show the
// document (see Document, which keeps its cells, history and file), the
// File, Edit, Options and Help menus, a tool bar and a status bar, and the
// questions and messages around the document's lifecycle.
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
    // Writes the document to `fileName` in the encoding chosen for it.
    tarvo::WriteResult writeProgramFile(const QString &fileName);
    // The save dialog; false when cancelled, `fileName` the chosen file.
    bool chooseSaveFile(QString *fileName);
    // Opens the file, with the questions and messages of Open; true when
    // the document is now that file's.
    bool readProgramFile(const QString &fileName);
    // The open dialog; false when cancelled, `fileName` the chosen file.
    bool chooseOpenFile(QString *fileName);
    bool loadParamNames(bool showWarnings);
    static QString encodingName(int index);
    static void applyEncoding();

    // Opens the program file at `path` as Open does after its file dialog,
    // with Open's question first (the command line, a drop, Recent files).
    void openFile(const QString &path);
    // The same for a file named on the command line; for one that does not
    // exist yet, a new document that Save writes to it.
    void openOrCreate(const QString &path);

    // The About box's two lines.
    static QString aboutText();

    // Read-only views for tests and tools.
    Document *currentDocument() const { return document; }
    QString currentFileName() const;
    bool isDocChanged() const;
    bool hasUnsavedChanges() const;
    RecoveryKeeper *recoveryKeeper() const { return recovery; }
    const Ui_MainWindow &form() const { return *ui; }
    WTableWidget *documentTable(tarvo::DocTable table) const;
    QString paramName(int number) const { return paramNames.value(number - 1); }

public slots:
    // Offers, once, to restore the unsaved edits that an editor which ended
    // without saving them kept.
    void offerRecovery();
    // Looks whether another program changed the document's file; offers to
    // reload it when nothing here is unsaved.
    void checkDiskChange();

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
    // Building the window (mainwindow.cpp, mainwindow_tables.cpp).
    void retranslate();
    void setUpDesktopIntegration();
    void resetFontSize();
    void addRow(tarvo::DocTable kind, int r);
    void setReadOnlyCell(WTableWidget *table, int row, int column, const QColor &colour);
    void colourLabelCells();
    static void setCellText(QTableWidgetItem *item, const QString &text);
    bool chooseDataFile(const QString &title, bool forSaving, QString *fileName);

    // Editing (mainwindow_editing.cpp).
    void setUpEditing();
    void retranslateHistory();
    void editCells(tarvo::DocTable table, const tarvo::CellEdits &edits, WTableWidget::EditKind kind);
    void commitOpenEditors();
    void stepThroughHistory(void (QUndoStack::*step)());
    // How messages name a cell: "Departments, row 5, Name".
    QString cellLabel(tarvo::DocTable table, int row, int column) const;
    // The status bar says which value a numeric cell refused, and why.
    void tellRefusedValue(tarvo::DocTable table, int row, int column, const QString &text, int count);

    // New, Open and quitting (mainwindow_lifecycle.cpp, mainwindow_open.cpp).
    bool hasSomethingToLose() const;
    bool askToClose();
    bool askAboutUnsavedChanges(const QString &question);
    bool openFile(const QString &path, int encoding, bool reloading);
    bool askEncodingAtOpen(const QString &path, const QByteArray &bytes, int *encoding, bool *lossless);
    void showFileState();

    // Save (mainwindow_save.cpp).
    bool saveDocument();
    int chooseEncodingToWrite(bool *cancelled);
    bool confirmLossySave();
    bool confirmOverwriteOfDiskChange();
    void warnAboutReplacedCharacters(const QList<tarvo::UnencodableCell> &cells, int encoding);
    void warnAboutRowsLeftOut();
    // Another program changed the document's file: keep what the window
    // holds, take what the file holds, or (at Save) cancel.
    enum class DiskChoice { KeepWindow, TakeDisk, Cancel };
    DiskChoice askAboutDiskChange(const tarvo::FileFingerprint &now, const QByteArray &bytes, bool saving);

    Ui_MainWindow *ui;
    Document *document;
    QTranslator *translator = nullptr;
    QTranslator *toolkitTranslator = nullptr; // the toolkit's texts in the same language
    QStringList paramNames;
    UserDialogs *dialogs;
    DocumentFind *finder = nullptr;
    QMenu *menuRecent = nullptr;
    RecoveryKeeper *recovery = nullptr;
    QLabel *encodingLabel = nullptr;
    bool recoveryOffered = false;
    bool askingAboutDisk = false;

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
