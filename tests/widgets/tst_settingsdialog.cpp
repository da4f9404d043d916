#include "encodingchoice.h"
#include "encodings.h"
#include "systemcodepage.h"
#include "settingsdialog.h"
#include "testsupport.h"

#include <QPushButton>
#include <QSettings>
#include <QTextCodec>
#include <QtTest>

class TestSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { testsupport::isolate(); }
    void init()
    {
        QSettings().clear();
        editor::encodingIndex = 0;
        editor::applyEncoding();
    }

    void formAndList()
    {
        SettingsDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Settings"));
        QCOMPARE(dialog.size(), QSize(330, 185));
        QCOMPARE(dialog.form().groupBox->title(), QStringLiteral("Encoding"));
        QVERIFY(dialog.form().btnOK->isDefault());
        QCOMPARE(dialog.form().btnCancel->text(), QStringLiteral("Cancel"));
        QCOMPARE(dialog.form().comboEncoding->count(), 26);
        // "System" says what it stands for: under a UTF-8 locale, the code page
        // of the user's language (the tests run in C.UTF-8, whose files are
        // this program's own Bulgarian ones).
        QCOMPARE(dialog.form().comboEncoding->itemText(0), QStringLiteral("System (CP1251)"));
        for (int i = 1; i < 26; ++i)
            QCOMPARE(dialog.form().comboEncoding->itemText(i), tarvo::encodingName(i));
        QCOMPARE(dialog.form().comboEncoding->currentIndex(), 0);
    }

    void okStoresAndApplies()
    {
        SettingsDialog dialog;
        dialog.form().comboEncoding->setCurrentIndex(2);
        QTest::mouseClick(dialog.form().btnOK, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(editor::encodingIndex, 2);
        QCOMPARE(QSettings().value(QStringLiteral("EncodingIndex")).toInt(), 2);
        QCOMPARE(editor::currentCodec()->toUnicode("\xC0"), QString(QChar(0x0410)));

        SettingsDialog again;
        QCOMPARE(again.form().comboEncoding->currentIndex(), 2);
    }

    void cancelAndEscapeStoreNothing()
    {
        SettingsDialog dialog;
        dialog.form().comboEncoding->setCurrentIndex(5);
        QTest::mouseClick(dialog.form().btnCancel, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        SettingsDialog escaped;
        escaped.show();
        escaped.form().comboEncoding->setCurrentIndex(7);
        QTest::keyClick(&escaped, Qt::Key_Escape);
        QCOMPARE(editor::encodingIndex, 0);
        QVERIFY(!QSettings().contains(QStringLiteral("EncodingIndex")));
    }

    void storedIndexOutsideTheList()
    {
        editor::encodingIndex = 40;
        SettingsDialog dialog;
        QCOMPARE(dialog.form().comboEncoding->currentIndex(), -1);
        QTest::mouseClick(dialog.form().btnOK, Qt::LeftButton);
        QCOMPARE(QSettings().value(QStringLiteral("EncodingIndex")).toInt(), -1);
        QCOMPARE(editor::currentCodec(), tarvo::systemCodec());
    }

    void encodingWithoutCodecIsStoredAndFallsBack()
    {
        SettingsDialog dialog;
        dialog.form().comboEncoding->setCurrentIndex(21);
        QTest::mouseClick(dialog.form().btnOK, Qt::LeftButton);
        QCOMPARE(QSettings().value(QStringLiteral("EncodingIndex")).toInt(), 21);
        QCOMPARE(editor::currentCodec(), tarvo::systemCodec());
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
