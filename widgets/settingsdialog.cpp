#include "settingsdialog.h"

#include "editorsettings.h"
#include "encodingchoice.h"
#include "encodings.h"

#include <QSettings>

SettingsDialog::SettingsDialog(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    ui.setupUi(this);
    for (int i = 0; i < tarvo::kEncodingCount; ++i)
        ui.comboEncoding->addItem(editor::encodingName(i));
    // "System" says what it is here; the stored index is the same.
    ui.comboEncoding->setItemText(0, editor::shownEncodingName(0));
    // An index outside the list leaves no entry selected.
    ui.comboEncoding->setCurrentIndex(editor::encodingIndex >= 0 && editor::encodingIndex < tarvo::kEncodingCount
                                          ? editor::encodingIndex
                                          : -1);
}

void SettingsDialog::on_btnOK_clicked()
{
    editor::encodingIndex = ui.comboEncoding->currentIndex();
    QSettings settings;
    settings.setValue(settingskey::encodingIndex(), editor::encodingIndex);
    editor::applyEncoding();
    accept();
}

void SettingsDialog::on_btnCancel_clicked()
{
    reject();
}
