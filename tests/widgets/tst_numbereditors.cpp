#include "doubledelegate.h"
#include "intdelegate.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// What a cell holds after `typed` is committed through `delegate`.
QString commit(QAbstractItemDelegate *delegate, const QString &typed)
{
    QTableWidget table(1, 1);
    table.setItem(0, 0, new QTableWidgetItem(QStringLiteral("old")));
    const QModelIndex index = table.model()->index(0, 0);
    QWidget *editor = delegate->createEditor(table.viewport(), QStyleOptionViewItem(), index);
    auto *edit = qobject_cast<QLineEdit *>(editor);
    Q_ASSERT(edit);
    delegate->setEditorData(edit, index);
    edit->setText(typed);
    delegate->setModelData(edit, table.model(), index);
    delete editor;
    return table.item(0, 0)->text();
}

} // namespace

class TestNumberEditors : public QObject
{
    Q_OBJECT

private slots:
    void wholeNumbersWithinBounds_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("42") << "42" << "42";
        QTest::newRow("leading zeros stay") << "007" << "007";
        QTest::newRow("upper bound") << "100" << "100";
        QTest::newRow("lower bound") << "1" << "1";
        QTest::newRow("101") << "101" << "";
        QTest::newRow("0") << "0" << "";
        QTest::newRow("-3") << "-3" << "";
        QTest::newRow("4.5") << "4.5" << "";
        QTest::newRow("abc") << "abc" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("lone minus") << "-" << "";
        QTest::newRow("spaces") << " 5" << "";
    }
    void wholeNumbersWithinBounds()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        IntDelegate delegate(1, 100);
        QCOMPARE(commit(&delegate, typed), stored);
    }

    void wholeNumbersWithoutBounds_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("-5") << "-5" << "-5";
        QTest::newRow("int max") << "2147483647" << "2147483647";
        QTest::newRow("int min") << "-2147483648" << "-2147483648";
        QTest::newRow("over int max") << "2147483648" << "";
        QTest::newRow("far over") << "99999999999999999999" << "";
        QTest::newRow("many zeros") << "0000000000000000000012" << "0000000000000000000012";
        QTest::newRow("plus") << "+3" << "+3";
        QTest::newRow("1e3") << "1e3" << "";
    }
    void wholeNumbersWithoutBounds()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        IntDelegate delegate(0, 0);
        QCOMPARE(commit(&delegate, typed), stored);
    }

    void decimalNumbers_data()
    {
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("12.5") << 0.0 << 0.0 << "12.5" << "12.5";
        QTest::newRow("-3") << 0.0 << 0.0 << "-3" << "-3";
        QTest::newRow("1e3") << 0.0 << 0.0 << "1e3" << "1e3";
        QTest::newRow("7") << 0.0 << 0.0 << "7" << "7";
        QTest::newRow("trailing point") << 0.0 << 0.0 << "7." << "7.";
        QTest::newRow("1.20") << 0.0 << 0.0 << "1.20" << "1.20";
        QTest::newRow("1.2.3") << 0.0 << 0.0 << "1.2.3" << "";
        QTest::newRow("abc") << 0.0 << 0.0 << "abc" << "";
        // A decimal comma is a decimal point; other commas are no number.
        QTest::newRow("decimal comma") << 0.0 << 0.0 << "1,5" << "1.5";
        QTest::newRow("comma and point") << 0.0 << 0.0 << "1,234.5" << "";
        QTest::newRow("two commas") << 0.0 << 0.0 << "1,2,3" << "";
        QTest::newRow("overflow") << 0.0 << 0.0 << "1e999" << "";
        QTest::newRow("bare exponent") << 0.0 << 0.0 << "1e" << "";
        QTest::newRow("bounded 3") << 1.0 << 5.0 << "3" << "3";
        QTest::newRow("bounded 2.5") << 1.0 << 5.0 << "2.5" << "";
        QTest::newRow("bounded 6") << 1.0 << 5.0 << "6" << "";
    }
    void decimalNumbers()
    {
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        DoubleDelegate delegate(minimum, maximum);
        QCOMPARE(commit(&delegate, typed), stored);
    }

    // A pasted number as a spreadsheet shows it; what could be read two
    // ways is refused (an empty result).
    void pastedNumbers_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("decimal");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("stored");
        const QLocale bg(QLocale::Bulgarian, QLocale::Bulgaria);
        const QLocale en(QLocale::English, QLocale::UnitedKingdom);
        QTest::newRow("decimal comma") << bg << true << u"1,50"_s << u"1.50"_s;
        QTest::newRow("leva") << bg << true << u"1,50 лв."_s << u"1.50"_s;
        QTest::newRow("space groups") << bg << true << u"1 234,50"_s << u"1234.50"_s;
        QTest::newRow("no-break space groups") << bg << true << u"1\u00a0234\u00a0567,5"_s << u"1234567.5"_s;
        QTest::newRow("leva inside") << bg << true << u"1\u202f234 лв,50 "_s << u"1234.50"_s;
        QTest::newRow("euro before") << en << true << u"€1,234.50"_s << u"1234.50"_s;
        QTest::newRow("dollar after") << bg << true << u"2.30 $"_s << u"2.30"_s;
        QTest::newRow("comma groups, en") << en << true << u"1,234,567"_s << u"1234567"_s;
        QTest::newRow("one comma group, en") << en << true << u"1,234"_s << QString();
        QTest::newRow("one comma, bg") << bg << true << u"1,234"_s << u"1.234"_s;
        QTest::newRow("groups of two") << bg << true << u"12 34,5"_s << QString();
        QTest::newRow("sign alone") << bg << true << u"лв."_s << QString();
        QTest::newRow("digits grouped") << bg << false << u"1 000"_s << u"1000"_s;
        QTest::newRow("digits with leva") << bg << false << u"2 лв."_s << QString();
    }
    void pastedNumbers()
    {
        QFETCH(QLocale, locale);
        QFETCH(bool, decimal);
        QFETCH(QString, pasted);
        QFETCH(QString, stored);
        DoubleDelegate decimals(0, 0);
        IntDelegate whole(0, 0);
        const NumberDelegate &check = decimal ? static_cast<const NumberDelegate &>(decimals) : whole;
        bool refused = false;
        QCOMPARE(check.pastedText(pasted, locale, &refused), stored);
        QCOMPARE(refused, stored.isEmpty());
    }

    void editorShowsTheCellTextEvenIfItWouldFail()
    {
        QTableWidget table(1, 1);
        table.setItem(0, 0, new QTableWidgetItem(QStringLiteral("abc")));
        IntDelegate delegate(1, 100);
        const QModelIndex index = table.model()->index(0, 0);
        std::unique_ptr<QWidget> editor(delegate.createEditor(table.viewport(), QStyleOptionViewItem(), index));
        delegate.setEditorData(editor.get(), index);
        QCOMPARE(qobject_cast<QLineEdit *>(editor.get())->text(), QStringLiteral("abc"));
    }

    // Every way an edit ends commits once: a second request would reach
    // the view for an editor that has gone, which the view complains of.
    void returnCommitsAndEscapeKeepsTheOldValue()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("does not belong to this view")));
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *elsewhere = new QLineEdit(&window);
        QTableWidget table(1, 1);
        layout->addWidget(&table);
        layout->addWidget(elsewhere);
        table.setItem(0, 0, new QTableWidgetItem(QStringLiteral("5")));
        table.setItemDelegateForColumn(0, new IntDelegate(1, 100, &table));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        table.editItem(table.item(0, 0));
        auto *edit = table.findChild<QLineEdit *>();
        QVERIFY(edit);
        edit->setText(QStringLiteral("abc"));
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(table.item(0, 0)->text(), QStringLiteral("5"));

        table.editItem(table.item(0, 0));
        edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(edit);
        edit->setText(QStringLiteral("77"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(table.item(0, 0)->text(), QStringLiteral("77"));

        table.editItem(table.item(0, 0));
        edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        edit->setText(QStringLiteral("101"));
        QTest::keyClick(edit, Qt::Key_Enter);
        QCOMPARE(table.item(0, 0)->text(), QString());

        // Leaving the editor for another widget commits too.
        table.editItem(table.item(0, 0));
        edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(edit);
        edit->setText(QStringLiteral("42"));
        elsewhere->setFocus(Qt::MouseFocusReason);
        QCOMPARE(table.item(0, 0)->text(), QStringLiteral("42"));
        QVERIFY(!table.findChild<QLineEdit *>() || !table.findChild<QLineEdit *>()->isVisible());
        QCoreApplication::sendPostedEvents(); // a queued second commit would arrive now
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(TestNumberEditors)
#include "tst_numbereditors.moc"
