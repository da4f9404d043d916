#pragma once

#include "ui_settingsdialog.h"

#include <QDialog>

// The one place where the user picks the encoding of program files.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

    // The form, for tests that drive the dialog.
    const Ui_SettingsDialog &form() const { return ui; }

public slots:
    void on_btnOK_clicked();
    void on_btnCancel_clicked();

private:
    Ui_SettingsDialog ui;
};
