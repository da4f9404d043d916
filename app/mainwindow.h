#pragma once

#include "documentformat.h"
#include "programwriter.h"

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>

class QTableWidgetItem;
class QTranslator;
class TableDocument;
class Ui_MainWindow;
class UserDialogs;
class WTableWidget;

// The program's one window and the owner of the document: five tables on
// five tabs, the File, Options and Help menus, a tool bar and a status bar.
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
    bool parseParamNames(const QString &fileName);
    static QString encodingName(int index);
    static void applyEncoding();

    // The About box's two lines.
    static QString aboutText();

    // Read-only views for tests and tools.
    QString currentFileName() const { return fileName; }
    bool isDocChanged() const { return docChanged; }
    const Ui_MainWindow &form() const { return *ui; }
    WTableWidget *documentTable(tarvo::DocTable table) const;
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

private:
    void retranslate();
    void resetFontSize();
    void addRow(tarvo::DocTable kind, int r);
    void setReadOnlyCell(WTableWidget *table, int row, int column, const QColor &colour);
    static void setCellText(QTableWidgetItem *item, const QString &text);
    bool chooseDataFile(const QString &title, bool forSaving);
    bool hasSomethingToLose() const;
    bool askToClose();
    void warnAboutReplacedCharacters(const QList<tarvo::UnencodableCell> &cells);

    // How messages name a cell: "Departments, row 5, Name".
    QString cellLabel(tarvo::DocTable table, int row, int column) const;
    // The status bar says which value a numeric cell refused, and why.
    void tellRefusedValue(tarvo::DocTable table, int row, int column, const QString &text, int count);

    Ui_MainWindow *ui;
    QString fileName;
    bool docChanged = false;
    QTranslator *translator = nullptr;
    QTranslator *toolkitTranslator = nullptr; // the toolkit's texts in the same language
    QStringList paramNames;
    UserDialogs *dialogs;
    std::unique_ptr<TableDocument> document;
    QList<tarvo::UnencodableCell> replacedOnLastSave;
};
