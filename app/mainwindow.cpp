#include "mainwindow.h"

#include "appidentity.h"
#include "datafiles.h"
#include "recoverykeeper.h"
#include "document.h"
#include "documentfind.h"
#include "filedrop.h"
#include "filefailure.h"
#include "lazyicon.h"
#include "palettewatch.h"
#include "recentfiles.h"
#include "screenfit.h"
#include "windowkeys.h"
#include "settingsdialog.h"
#include "ui_mainwindow.h"
#include "userdialogs.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QTranslator>

MainWindow::MainWindow(QWidget *parent, UserDialogs *dialogs)
    : QMainWindow(parent, Qt::WindowFlags()),
      ui(new Ui_MainWindow),
      document(new Document(this)),
      paramNames(QStringList(26, QString())),
      dialogs(dialogs ? dialogs : UserDialogs::standard())
{
    ui->setupUi(this);
    connect(ui->actionNew, &QAction::triggered, this, &MainWindow::newDoc);
    connect(ui->actionOpen, &QAction::triggered, this, &MainWindow::openDoc);
    connect(ui->actionSave, &QAction::triggered, this, &MainWindow::saveDoc);
    connect(ui->actionExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->actionAbout, &QAction::triggered, this, &MainWindow::about);
    connect(ui->actionSaveAs, &QAction::triggered, this, &MainWindow::saveDocAs);
    connect(ui->actionSettings, &QAction::triggered, this, &MainWindow::settings);
    setWindowTitle(identity::programTitle());
    // The icons are decoded when first drawn (those of closed menus, never at
    // start-up).
    const QPair<QAction *, const char *> icons[] = {
        {ui->actionNew, "filenew"},        {ui->actionOpen, "fileopen"}, {ui->actionSave, "filesave"},
        {ui->actionSaveAs, "filesaveas"},  {ui->actionExit, "exit"},     {ui->actionAbout, "help"},
        {ui->actionSettings, "configure"},
    };
    for (const auto &[action, name] : icons)
        action->setIcon(lazyIcon(QStringLiteral(":/images/%1.png").arg(QLatin1String(name))));
    // Undo and Redo from the desktop's icon theme where it has them.
    ui->actionUndo->setIcon(lazyIcon(QStringLiteral(":/images/undo.png"), QStringLiteral("edit-undo")));
    ui->actionRedo->setIcon(lazyIcon(QStringLiteral(":/images/redo.png"), QStringLiteral("edit-redo")));
    setWindowIcon(lazyIcon(QStringLiteral(":/images/main.png")));
    translator = new QTranslator(this);
    toolkitTranslator = new QTranslator(this);
    readSettings();
    setUpDesktopIntegration();
    buildTables();
    setUpEditing();
    // Connected only now, so that building the tables marks nothing changed.
    for (WTableWidget *table :
         {ui->tableParams, ui->tableDepts, ui->tableLines, ui->tableComments, ui->tablePayments})
        connect(table, &QTableWidget::cellChanged, this, &MainWindow::docIsChanged);
    for (int t = 0; t < tarvo::kTableCount; ++t)
        connect(documentTable(tarvo::tableAt(t)), &WTableWidget::valueRefused, this,
                [this, t](int row, int column, const QString &text, int count) {
                    tellRefusedValue(tarvo::tableAt(t), row, column, text, count);
                });
    // Ctrl+X stays Exit; Ctrl+Q, the desktop's own key, quits too.
    // (The platform's own binding is empty where no desktop theme says it.)
    ui->actionExit->setShortcuts({ui->actionExit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q)});
    encodingLabel = new QLabel(this);
    encodingLabel->setObjectName(QStringLiteral("encodingLabel"));
    statusBar()->addPermanentWidget(encodingLabel);
    connect(document, &Document::fileChanged, this, &MainWindow::showFileState);
    // Undo back to what was saved takes the mark away without a cell change
    // of its own being the last word.
    connect(document, &Document::modifiedChanged, this, &QWidget::setWindowModified);
    connect(document, &Document::mayHaveChangedOnDisk, this, &MainWindow::checkDiskChange);
    showFileState();
    // Every change of the document is kept for recovery a moment later.
    recovery = new RecoveryKeeper(document, this);
    connect(recovery, &RecoveryKeeper::cannotKeep, this, [this](const QString &reason) {
        statusBar()->showMessage(tr("Unsaved edits cannot be kept for recovery: %1")
                                     .arg(FileFailure::translatedReason(reason)));
    });
    QTimer::singleShot(0, this, &MainWindow::offerRecovery);
    new PaletteWatch(this, [this] { colourLabelCells(); });
    // A stored or default size larger than the screen (a large scale factor)
    // would put the status bar out of reach.
    fitToScreen(this);
}

MainWindow::~MainWindow()
{
    delete ui;
}

WTableWidget *MainWindow::documentTable(tarvo::DocTable table) const
{
    switch (table) {
    case tarvo::DocTable::Params: return ui->tableParams;
    case tarvo::DocTable::Depts: return ui->tableDepts;
    case tarvo::DocTable::Lines: return ui->tableLines;
    case tarvo::DocTable::Comments: return ui->tableComments;
    case tarvo::DocTable::Payments: break;
    }
    return ui->tablePayments;
}

void MainWindow::retranslate()
{
    QCoreApplication::removeTranslator(toolkitTranslator);
    QCoreApplication::removeTranslator(translator);
    // Looked for in the working directory first, then in the data folders;
    // a missing file leaves the source texts.
    const QString stem = identity::translationStem();
    const QString folder = datafiles::folderHolding({stem + QStringLiteral(".qm"), stem});
    const bool translated = !folder.isEmpty() && translator->load(stem, folder);
    // With it, the toolkit's own texts (file dialogs, standard buttons) in
    // the same language, where the system has them.
    if (translated
        && toolkitTranslator->load(QLocale(QLocale::Bulgarian), QStringLiteral("qtbase"), QStringLiteral("_"),
                                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(toolkitTranslator);
    QCoreApplication::installTranslator(translator);
    resetFontSize();

    ui->menuFile->setTitle(tr("&File"));
    ui->menuOptions->setTitle(tr("&Options"));
    ui->menuHelp->setTitle(tr("&Help"));
    ui->menuEdit->setTitle(tr("&Edit"));
    ui->actionNew->setText(tr("&New"));
    ui->actionNew->setToolTip(tr("Create a New Document"));
    ui->actionOpen->setText(tr("&Open"));
    ui->actionOpen->setToolTip(tr("Open an Existing Document"));
    ui->actionSave->setText(tr("&Save"));
    ui->actionSave->setToolTip(tr("Save a Document"));
    ui->actionSaveAs->setText(tr("Save &As"));
    ui->actionSaveAs->setToolTip(tr("Save under Different Name"));
    ui->actionExit->setText(tr("E&xit"));
    ui->actionExit->setToolTip(tr("Exit Application"));
    ui->actionSettings->setText(tr("&Settings"));
    ui->actionAbout->setText(tr("&About"));
    retranslateHistory();
    ui->tabMain->setTabText(0, tr("System Params"));
    ui->tabMain->setTabText(1, tr("Departments"));
    ui->tabMain->setTabText(2, tr("Header Lines"));
    ui->tabMain->setTabText(3, tr("Comment Lines"));
    ui->tabMain->setTabText(4, tr("Payments"));
    if (menuRecent)
        menuRecent->setTitle(tr("&Recent Files"));

    ui->tableParams->setHorizontalHeaderLabels({tr("Num"), tr("Name"), tr("Value")});
    ui->tableDepts->setHorizontalHeaderLabels({tr("Num"), tr("Name"), tr("Price"), tr("Tax"), tr("Digits")});
    ui->tableLines->setHorizontalHeaderLabels({tr("Num"), tr("Text")});
    ui->tableComments->setHorizontalHeaderLabels({tr("Num"), tr("Text")});
    ui->tablePayments->setHorizontalHeaderLabels({tr("Num"), tr("Name"), tr("Value"), tr("Index")});
}

// Recent files, dropped files, Find and the keys that reach menus and tabs.
void MainWindow::setUpDesktopIntegration()
{
    menuRecent = new QMenu(ui->menuFile);
    menuRecent->setObjectName(QStringLiteral("menuRecent"));
    ui->menuFile->insertMenu(ui->actionExit, menuRecent);
    ui->menuFile->insertSeparator(ui->actionExit);
    new RecentFiles(menuRecent, [this](const QString &path) { openFile(path); }, this);
    new FileDrop(this, [this](const QString &path) { openFile(path); });

    const QList<QTableWidget *> tables{ui->tableParams, ui->tableDepts, ui->tableLines, ui->tableComments,
                                       ui->tablePayments};
    finder = new DocumentFind(this, ui->tabMain, tables, dialogs, statusBar());
    // Its actions join the Edit menu each time that is filled (fillEditMenu).
    WindowKeys::install(this, ui->tabMain,
                        {{ui->menuFile, QLatin1Char('F')}, {ui->menuEdit, QLatin1Char('E')},
                         {ui->menuOptions, QLatin1Char('O')}, {ui->menuHelp, QLatin1Char('H')}});
}

void MainWindow::resetFontSize()
{
    QFont font = QApplication::font();
    font.setPointSize(identity::fontPointSize);
    QApplication::setFont(font);
}

QString MainWindow::aboutText()
{
    return tr("Version : ") + identity::versionText() + QStringLiteral("<br>") + tr("Build at : ")
        + identity::buildDate(QLocale(tr("en_GB", "the locale of this translation, for the build date")))
        + QLatin1Char(' ') + identity::buildTime();
}

void MainWindow::about()
{
    dialogs->showAbout(this, tr("About ") + tr("TARVO VODI"), aboutText());
}

void MainWindow::settings()
{
    SettingsDialog dialog(this, Qt::WindowFlags());
    dialogs->runDialog(dialog);
    // Whatever the answer, the stored choice is put into effect again.
    applyEncoding();
    showFileState();
}
