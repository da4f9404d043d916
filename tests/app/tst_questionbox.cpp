#include "userdialogs.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

// The real question box: "Yes" and "No" in that order, "No" the default,
// no Escape button.
class TestQuestionBox : public QObject
{
    Q_OBJECT

private:
    // Runs the question and lets `act` work on the box once it is up.
    bool ask(const std::function<void(QMessageBox *)> &act)
    {
        QTimer::singleShot(0, [act] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box) {
                // Fail at once rather than leave a box waiting for an answer.
                for (QWidget *widget : QApplication::topLevelWidgets())
                    if (auto *other = qobject_cast<QMessageBox *>(widget))
                        other->done(0);
                QFAIL("the question box is not the active modal window");
            }
            act(box);
        });
        return UserDialogs::standard()->askYesNo(nullptr, QMessageBox::Question, QStringLiteral("TARVO VODI"),
                                                 QStringLiteral("Do you want to close current document?"));
    }

private slots:
    void buttonsAndDefault()
    {
        QStringList texts;
        QString defaultText;
        bool hasEscape = true;
        ask([&](QMessageBox *box) {
            for (QAbstractButton *button : box->buttons())
                texts << button->text();
            defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
            hasEscape = box->escapeButton() != nullptr;
            box->defaultButton()->click();
        });
        QCOMPARE(texts, (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
        QCOMPARE(defaultText, QStringLiteral("No"));
        QVERIFY(!hasEscape);
    }

    void returnChoosesNo()
    {
        QVERIFY(!ask([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); }));
    }

    void escapeDoesNotCloseTheBox()
    {
        bool stillOpen = false;
        const bool answer = ask([&](QMessageBox *box) {
            QTest::keyClick(box, Qt::Key_Escape);
            stillOpen = box->isVisible();
            box->buttons().at(0)->click(); // "Yes"
        });
        QVERIFY(stillOpen);
        QVERIFY(answer);
    }
};

QTEST_MAIN(TestQuestionBox)
#include "tst_questionbox.moc"
