// Form1's drawing buttons with the scripted CAD behind them: the origin
// enables the node buttons, and the polyline's table lands in Text8 with its
// count in Label4.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/form1.h"
#include "tests/support/scripted_cad.h"

using tendra::Form1;
using tendra::testing::ScriptedCad;

class TestForm1Commands : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        // A message box would wait for a click that never comes: note and close it.
        shownBoxes_.clear();
        boxCloser_.setInterval(50);
        connect(&boxCloser_, &QTimer::timeout, this, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                shownBoxes_ << box->windowTitle();
                box->close();
            }
        });
        boxCloser_.start();
    }
    void cleanup() {
        boxCloser_.stop();
        boxCloser_.disconnect();
    }

    void originEnablesTheNodeButtonsAndThePolylineFillsText8() {
        ScriptedCad cad;
        cad.queuePoint(0, 0, 4);
        cad.prepareSelection({tendra::testing::entityOfType(tendra::cad::entity_type::kLine),
                              tendra::testing::polyline({-30, 5, -20, 2, -10, 0, 0, 0})});
        Form1 form(cad.platform());
        form.show();
        auto* command3 = form.findChild<QPushButton*>("Command3");
        auto* command1 = form.findChild<QPushButton*>("Command1");
        auto* command4 = form.findChild<QPushButton*>("Command4");
        auto* text8 = form.findChild<QPlainTextEdit*>("Text8");
        auto* label4 = form.findChild<QLabel*>("Label4");
        QVERIFY(command3 && command1 && command4 && text8 && label4);
        QVERIFY(!command1->isEnabled());
        QVERIFY(!command4->isEnabled());
        text8->setPlainText(QStringLiteral("older text"));

        QTest::mouseClick(command3, Qt::LeftButton);

        QVERIFY(command1->isEnabled());
        QVERIFY(command4->isEnabled());
        QCOMPARE(text8->toPlainText(), QString());
        QCOMPARE(cad.points().size(), std::size_t{1});
        QCOMPARE(cad.points()[0].color, 1);

        // Not symmetric: the four vertices as they are.
        form.findChild<QCheckBox*>("Check1")->setChecked(false);
        QTest::mouseClick(command4, Qt::LeftButton);

        const QString dot = QLocale::system().decimalPoint();
        QString table = QStringLiteral(
            "-30.000\t5.000\t0\n-20.000\t2.000\t15\n-10.000\t0.000\t15\n0.000\t0.000\t0\n");
        table.replace('.', dot);
        QCOMPARE(text8->toPlainText(), table);
        QCOMPARE(label4->text(), QStringLiteral("角点个数：4"));
        QVERIFY(label4->isVisible());
        QCOMPARE(cad.points().size(), std::size_t{5});
        QCOMPARE(cad.groups().size(), std::size_t{1});
        QCOMPARE(cad.groups()[0].second.size(), std::size_t{5});
        QCOMPARE(shownBoxes_, QStringList());
    }

  private:
    QTimer boxCloser_;
    QStringList shownBoxes_;
};

QTEST_MAIN(TestForm1Commands)
#include "test_form1_commands.moc"
