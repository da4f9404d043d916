#include "settingsdialog.h"

#include "encodings.h"

#include <QSettings>

SettingsDialog::SettingsDialog(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    ui.setupUi(this);
    mainWindow = parent;
    for (int i = 0; i < tarvo::kEncodingCount; ++i)
        ui.comboEncoding->addItem(tarvo::encodingName(i));
    // An index outside the list leaves no entry selected.
    ui.comboEncoding->setCurrentIndex(tarvo::encodingIndex >= 0 && tarvo::encodingIndex < tarvo::kEncodingCount
                                          ? tarvo::encodingIndex
                                          : -1);
}

void SettingsDialog::on_btnOK_clicked()
{
    tarvo::encodingIndex = ui.comboEncoding->currentIndex();
    QSettings settings;
    settings.setValue(QStringLiteral("EncodingIndex"), tarvo::encodingIndex);
    tarvo::applyEncoding();
    accept();
}

void SettingsDialog::on_btnCancel_clicked()
{
    reject();
}
