#include "mainwindow.h"

#include "appidentity.h"
#include "diskwatch.h"
#include "recoverykeeper.h"
#include "document.h"
#include "settingsdialog.h"
#include "ui_mainwindow.h"
#include "userdialogs.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
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
    setWindowIcon(QIcon(QStringLiteral(":/images/main.png")));
    translator = new QTranslator(this);
    toolkitTranslator = new QTranslator(this);
    readSettings();
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
    statusBar()->addPermanentWidget(encodingLabel);
    updateEncodingLabel();
    diskWatch = new DiskWatch(this);
    connect(diskWatch, &DiskWatch::mayHaveChanged, this, &MainWindow::checkDiskChange);
    recovery = new RecoveryKeeper(
        [this](tarvo::Recovery *kept) {
            if (!hasUnsavedChanges())
                return false;
            kept->documentFile = document->fileName();
            kept->encoding = documentEncoding();
            if (document->fileName() == diskWatch->path())
                kept->fileHash = diskWatch->known().hash;
            kept->cells = cellsNow();
            return true;
        },
        this);
    QTimer::singleShot(0, this, &MainWindow::offerRecovery);
    connect(document, &Document::modifiedChanged, this, [this](bool modified) { docChanged = modified; });
    // Every change of a cell is kept for recovery a moment later.
    connect(document, &Document::cellChanged, recovery, &RecoveryKeeper::documentChanged);
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
    // Looked for in the working directory; a missing file leaves the source texts.
    const bool translated = translator->load(identity::translationStem());
    // With it, the toolkit's own texts (file dialogs, standard buttons) in
    // the same language, where the system has them.
    if (translated
        && toolkitTranslator->load(QLocale(QLocale::Bulgarian), QStringLiteral("qtbase"), QStringLiteral("_"),
                                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(toolkitTranslator);
    QCoreApplication::installTranslator(translator);
    resetFontSize();

    ui->menuFile->setTitle(tr("File"));
    ui->menuEdit->setTitle(tr("Edit"));
    ui->menuOptions->setTitle(tr("Options"));
    ui->menuHelp->setTitle(tr("Help"));
    ui->actionNew->setText(tr("New"));
    ui->actionNew->setToolTip(tr("Create a New Document"));
    ui->actionOpen->setText(tr("Open"));
    ui->actionOpen->setToolTip(tr("Open an Existing Document"));
    ui->actionSave->setText(tr("Save"));
    ui->actionSave->setToolTip(tr("Save a Document"));
    ui->actionSaveAs->setText(tr("Save As"));
    ui->actionSaveAs->setToolTip(tr("Save under Different Name"));
    ui->actionExit->setText(tr("Exit"));
    ui->actionExit->setToolTip(tr("Exit Application"));
    ui->actionSettings->setText(tr("Settings"));
    ui->actionAbout->setText(tr("About"));
    retranslateHistory();
    ui->tabMain->setTabText(0, tr("System Params"));
    ui->tabMain->setTabText(1, tr("Departments"));
    ui->tabMain->setTabText(2, tr("Header Lines"));
    ui->tabMain->setTabText(3, tr("Comment Lines"));
    ui->tabMain->setTabText(4, tr("Payments"));

    ui->tableParams->setHorizontalHeaderLabels({tr("Num"), tr("Name"), tr("Value")});
    ui->tableDepts->setHorizontalHeaderLabels({tr("Num"), tr("Name"), tr("Price"), tr("Tax"), tr("Digits")});
    ui->tableLines->setHorizontalHeaderLabels({tr("Num"), tr("Text")});
    ui->tableComments->setHorizontalHeaderLabels({tr("Num"), tr("Text")});
    ui->tablePayments->setHorizontalHeaderLabels({tr("Num"), tr("Name"), tr("Value"), tr("Index")});
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
        + identity::buildDate() + QLatin1Char(' ') + identity::buildTime();
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
    updateEncodingLabel();
}
