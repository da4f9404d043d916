#pragma once

#include "celledit.h"
#include "documentcells.h"
#include "documentformat.h"
#include "filefingerprint.h"
#include "programwriter.h"
#include "programfiles.h"
#include "wtablewidget.h"

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>

class DiskWatch;
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
    // True when the cells differ from what the document's file held when it
    // was last read or saved (from an empty document when it has none).
    bool hasUnsavedChanges() const;
    // The entry of the encoding list the document was read or last saved
    // in; the setting's for a document that has no file.
    int documentEncoding() const;
    RecoveryKeeper *recoveryKeeper() const { return recovery; }

public slots:
    // Offers, once, to restore the unsaved edits that an editor which ended
    // without saving them kept.
    void offerRecovery();
    // Looks whether another program changed the document's file; offers to
    // reload it when nothing here is unsaved.
    void checkDiskChange();
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
    void setUpDesktopIntegration();
    void warnAboutReplacedCharacters(const QList<tarvo::UnencodableCell> &cells);

    // Open and Save, in the order of their questions (mainwindow_trust.cpp).
    bool openFile(const QString &path, int encoding, bool reloading);
    bool askEncodingAtOpen(const QString &path, const QByteArray &bytes, int *encoding, bool *lossless);
    bool confirmSave();
    bool confirmOverwriteOfDiskChange();
    void takeSavedFile(const QByteArray &bytes);
    void warnAboutRowsLeftOut();
    void startUntitled();
    void updateEncodingLabel();
    bool saveDocument();
    tarvo::DocumentData cellsNow() const;
    QStringList labelsOfCellsThatDiffer(const tarvo::DocumentCells &a, const tarvo::DocumentCells &b) const;

    // How messages name a cell: "Departments, row 5, Name".
    QString cellLabel(tarvo::DocTable table, int row, int column) const;
    // The status bar says which value a numeric cell refused, and why.
    void tellRefusedValue(tarvo::DocTable table, int row, int column, const QString &text, int count);

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

    // What keeps an operator's work from going without a word.
    int docEncoding = -1;              // the encoding the document was read or saved in; -1: none yet
    int writeEncoding = -1;            // the encoding the next write uses; -1: the setting
    bool readLossy = false;            // read with bytes that are no characters of docEncoding
    tarvo::DocumentData savedCells;    // what the document's file held when last read or saved
    QByteArray lastWrittenBytes;       // the bytes of the last successful write
    tarvo::FileFingerprint noticedOnDisk; // the change on disk the operator was last told of
    DiskWatch *diskWatch = nullptr;
    RecoveryKeeper *recovery = nullptr;
    QLabel *encodingLabel = nullptr;
    bool recoveryOffered = false;
    bool askingAboutDisk = false;
};
