// The board's blocking requests, driven by synthetic mouse and key events
// sent from a timer while the request's nested loop waits.
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>
#include <functional>

#include "cad/board/board_request.h"
#include "cad/board/board_surface.h"
#include "cad/board/board_view.h"
#include "cad/board/board_window.h"
#include "tests/support/cad_errors.h"

using namespace tendra;
using namespace tendra::board;
using tendra::testing::errorOf;

// What the user does to the view: a key, a click.
using Input = std::function<void(QWidget*)>;
Q_DECLARE_METATYPE(Input)

namespace {

Input key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return [=](QWidget* widget) { QTest::keyClick(widget, key, modifiers); };
}

Input rightClickAt(QPoint at) {
    return [=](QWidget* widget) { QTest::mouseClick(widget, Qt::RightButton, {}, at); };
}

// Runs this once the nested loop of the request about to start is waiting.
void whileWaiting(std::function<void()> steps) {
    QTimer::singleShot(0, std::move(steps));
}

void sendWheel(QWidget* widget, QPoint at, int delta) {
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

using Ids = std::vector<EntityId>;

}  // namespace

class BoardRequestsTest : public QObject {
    Q_OBJECT

    QPointer<BoardWindow> board;
    cad::DocumentPtr document;
    EntityId polyline = 0, line = 0, point = 0, circle = 0, label = 0, title = 0;

    QPoint screen(double x, double y) const {
        return board->view()->transform().toScreen(x, y).toPoint();
    }
    BoardView* view() const { return board->view(); }

  private slots:
    void init() {
        // A polyline (0,0)-(100,50)-(200,0), a line (0,100)-(200,100),
        // a point at (300,0) and a circle of radius 20 about (300,100); above
        // them a TEXT whose characters take x 0 to 32, y 147.5 to 160, and a
        // top-left MTEXT taking x 100 to 132, y 157.5 to 170.
        Drawing drawing;
        polyline = drawing.add(LightweightPolyline{{{{0, 0, 0}, {100, 50, 0}, {200, 0, 0}}}});
        line = drawing.add(Line{{0, 100, 0}, {200, 100, 0}});
        point = drawing.addPoint(300, 0);
        circle = drawing.add(Circle{{300, 100, 0}, 20});
        label = drawing.add(Text{{0, 150, 0}, 10, 0, "钢束N1"});
        MText heading;
        heading.at = {100, 170, 0};
        heading.height = 10;
        heading.text = "{\\fSimSun;钢束}N2";
        title = drawing.add(heading);
        board = new BoardWindow;
        board->setDrawing(std::move(drawing), "test.dxf");
        board->resize(800, 600);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board));
        board->zoomExtents();
        document = BoardApplication(board).activeDocument();
    }

    void cleanup() {
        document.reset();
        delete board.data();
    }

    // --- Points -------------------------------------------------------------

    void clickSnapsOnlyNearAVertexEndOrPoint_data() {
        QTest::addColumn<QPointF>("target");  // in drawing units
        QTest::addColumn<QPoint>("offset");   // pixels off the target
        QTest::addColumn<bool>("snaps");      // else the point under the cursor
        QTest::newRow("polyline vertex") << QPointF(100, 50) << QPoint(4, -3) << true;
        QTest::newRow("polyline end") << QPointF(200, 0) << QPoint(-5, 2) << true;
        QTest::newRow("line end point") << QPointF(0, 100) << QPoint(-5, 5) << true;
        QTest::newRow("point entity") << QPointF(300, 0) << QPoint(3, 3) << true;
        QTest::newRow("below the polyline, far from vertices: no snap")
            << QPointF(150, 25) << QPoint(0, 30) << false;
    }
    void clickSnapsOnlyNearAVertexEndOrPoint() {
        QFETCH(QPointF, target);
        QFETCH(QPoint, offset);
        QFETCH(bool, snaps);
        const QPoint at = screen(target.x(), target.y()) + offset;
        const QPointF expected = snaps ? target : view()->transform().toDrawing(at);
        QString promptWhileWaiting;
        bool markerShown = false;
        whileWaiting([&] {
            promptWhileWaiting = board->prompt();
            QTest::mouseMove(view(), at);
            markerShown = view()->currentSnap().has_value();
            QTest::mouseClick(view(), Qt::LeftButton, {}, at);
        });
        const cad::Point picked = document->utility()->getPoint("点取坐标原点 ");
        QCOMPARE(picked[0], expected.x());
        QCOMPARE(picked[1], expected.y());
        QCOMPARE(picked[2], 0.0);
        QCOMPARE(promptWhileWaiting, QStringLiteral("点取坐标原点 "));
        QCOMPARE(markerShown, snaps);
        QCOMPARE(board->prompt(), QStringLiteral("命令："));
    }

    void snapMarkerIsDrawn() {
        const QPoint vertex = screen(100, 50);
        QImage shot;
        whileWaiting([&] {
            QTest::mouseMove(view(), vertex + QPoint(3, 3));
            shot = view()->grab().toImage();
            QTest::keyClick(view(), Qt::Key_Escape);
        });
        QCOMPARE(errorOf([&] { document->utility()->getPoint("p"); }), cad::kEFail);
        // The marker is a square 12 pixels wide about the vertex.
        const QColor edge = shot.pixelColor(vertex + QPoint(6, 0));
        QVERIFY2(edge.red() > 200 && edge.green() > 150 && edge.blue() < 100,
                 qPrintable(edge.name()));
    }

    void endingThePromptFailsWithEFail_data() {
        QTest::addColumn<Input>("end");
        QTest::newRow("Enter") << key(Qt::Key_Return);
        QTest::newRow("keypad Enter") << key(Qt::Key_Enter, Qt::KeypadModifier);
        QTest::newRow("Space") << key(Qt::Key_Space);
        QTest::newRow("Esc") << key(Qt::Key_Escape);
        QTest::newRow("right click") << rightClickAt(QPoint(50, 50));
    }
    void endingThePromptFailsWithEFail() {
        QFETCH(Input, end);
        whileWaiting([&] { end(view()); });
        QCOMPARE(errorOf([&] { document->utility()->getPoint("p"); }), cad::kEFail);
        QCOMPARE(board->prompt(), QStringLiteral("命令："));
        QVERIFY(!board->isWaiting());
    }

    // --- Selection ------------------------------------------------------------

    void rectanglesSelectByWindowOrCrossing_data() {
        QTest::addColumn<QPointF>("from");  // drawing units
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<bool>("dragged");  // else two clicks
        QTest::addColumn<QString>("expected");
        QTest::newRow("window takes what lies wholly inside")
            << QPointF(-10, -10) << QPointF(210, 60) << true << "polyline";
        QTest::newRow("window leaves out what it only touches")
            << QPointF(50, 40) << QPointF(150, 110) << true << "";
        QTest::newRow("crossing takes what it touches, in drawing order")
            << QPointF(150, 110) << QPointF(50, 40) << true << "polyline line";
        QTest::newRow("two clicks make a window")
            << QPointF(-10, -10) << QPointF(210, 60) << false << "polyline";
        QTest::newRow("two clicks right to left make a crossing")
            << QPointF(330, 130) << QPointF(150, 90) << false << "line circle";
    }
    void rectanglesSelectByWindowOrCrossing() {
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(bool, dragged);
        QFETCH(QString, expected);
        const QPoint a = screen(from.x(), from.y());
        const QPoint b = screen(to.x(), to.y());
        whileWaiting([&] {
            if (dragged) {
                QTest::mousePress(view(), Qt::LeftButton, {}, a);
                QTest::mouseMove(view(), (a + b) / 2);
                QTest::mouseMove(view(), b);
                QTest::mouseRelease(view(), Qt::LeftButton, {}, b);
            } else {
                QTest::mouseClick(view(), Qt::LeftButton, {}, a);
                QTest::mouseMove(view(), b);
                QTest::mouseClick(view(), Qt::LeftButton, {}, b);
            }
            QTest::keyClick(view(), Qt::Key_Return);
        });
        QCOMPARE(names(select()), expected);
    }

    // What a command reads of each member: the texts' class, string and
    // insertion point through the surface.
    void selectionsTakeTexts_data() {
        QTest::addColumn<Input>("select");
        QTest::addColumn<QString>("expected");
        auto drag = [this](QPointF from, QPointF to) {
            return Input([this, from, to](QWidget* widget) {
                const QPoint a = screen(from.x(), from.y());
                const QPoint b = screen(to.x(), to.y());
                QTest::mousePress(widget, Qt::LeftButton, {}, a);
                QTest::mouseMove(widget, b);
                QTest::mouseRelease(widget, Qt::LeftButton, {}, b);
            });
        };
        auto click = [this](QPointF at) {
            return Input([this, at](QWidget* widget) {
                QTest::mouseClick(widget, Qt::LeftButton, {}, screen(at.x(), at.y()));
            });
        };
        const QString text = "AcDbText 钢束N1 (0,150)";
        const QString mtext = "AcDbMText {\\fSimSun;钢束}N2 (100,170)";
        QTest::newRow("window over the polyline and both texts, in drawing order")
            << drag({-10, -10}, {210, 175}) << "AcDbPolyline, AcDbLine, " + text + ", " + mtext;
        QTest::newRow("window over only part of a text leaves it out")
            << drag({-10, 140}, {20, 175}) << "";
        QTest::newRow("crossing takes the text it cuts") << drag({20, 175}, {-10, 140}) << text;
        QTest::newRow("click on a text's last character, away from its insertion point")
            << click({30, 155}) << text;
        QTest::newRow("click on the mtext") << click({125, 165}) << mtext;
        QTest::newRow("click beside a text takes nothing") << click({45, 155}) << "";
    }
    void selectionsTakeTexts() {
        QFETCH(Input, select);
        QFETCH(QString, expected);
        whileWaiting([&] {
            select(view());
            QTest::keyClick(view(), Qt::Key_Return);
        });
        auto set = document->selectionSets()->add("texts");
        set->selectOnScreen();
        QStringList members;
        for (int i = 0; i < set->count(); ++i) {
            const cad::EntityPtr entity = set->item(i);
            const std::string name = entity->objectName();
            QString member = QString::fromStdString(name);
            if (name == "AcDbText" || name == "AcDbMText") {
                const cad::Point at = entity->insertionPoint();
                member += QString(" %1 (%2,%3)")
                              .arg(QString::fromStdString(entity->textString()))
                              .arg(at[0])
                              .arg(at[1]);
            }
            members << member;
        }
        QCOMPARE(members.join(", "), expected);
    }

    void picksKeepTheirOrderAndSkipRepeats() {
        whileWaiting([&] {
            QTest::mouseClick(view(), Qt::LeftButton, {}, screen(320, 100));  // circle
            QTest::mouseClick(view(), Qt::LeftButton, {}, screen(100, 100));  // line
            QTest::mouseClick(view(), Qt::LeftButton, {}, screen(150, 100));  // line again
            QTest::mouseClick(view(), Qt::LeftButton, {}, screen(50, 25));    // polyline
            QTest::keyClick(view(), Qt::Key_Space);
        });
        QCOMPARE(names(select()), QStringLiteral("circle line polyline"));
    }

    void selectedEntitiesAreHighlightedWhileSelecting() {
        Ids highlighted;
        whileWaiting([&] {
            QTest::mouseClick(view(), Qt::LeftButton, {}, screen(100, 100));
            highlighted = view()->highlighted();
            QTest::keyClick(view(), Qt::Key_Return);
        });
        select();
        QCOMPARE(highlighted, Ids{line});
        QVERIFY(view()->highlighted().empty());
    }

    void selectionEnds_data() {
        QTest::addColumn<Input>("end");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Enter keeps the selection") << key(Qt::Key_Return) << "line";
        QTest::newRow("Space keeps the selection") << key(Qt::Key_Space) << "line";
        QTest::newRow("right click keeps the selection") << rightClickAt(QPoint(5, 5)) << "line";
        QTest::newRow("Esc empties the selection") << key(Qt::Key_Escape) << "";
    }
    void selectionEnds() {
        QFETCH(Input, end);
        QFETCH(QString, expected);
        whileWaiting([&] {
            QTest::mouseClick(view(), Qt::LeftButton, {}, screen(100, 100));
            end(view());
        });
        QCOMPARE(names(select()), expected);
    }

    // --- One request at a time, and the board going away ------------------------

    void secondRequestWhileWaitingFails() {
        std::int32_t secondPoint = 0, secondSelection = 0;
        QString promptAfter;
        whileWaiting([&] {
            secondPoint = errorOf([&] { document->utility()->getPoint("second"); });
            secondSelection =
                errorOf([&] { document->selectionSets()->add("s")->selectOnScreen(); });
            promptAfter = board->prompt();
            QTest::mouseClick(view(), Qt::LeftButton, {}, screen(100, 50));
        });
        const cad::Point picked = document->utility()->getPoint("first");
        QCOMPARE(secondPoint, kCallRejected);
        QCOMPARE(secondSelection, kCallRejected);
        QCOMPARE(promptAfter, QStringLiteral("first"));
        QCOMPARE(picked[0], 100.0);
        QCOMPARE(picked[1], 50.0);
    }

    void closingTheBoardWhileWaitingFails_data() {
        QTest::addColumn<bool>("selecting");
        QTest::newRow("point request") << false;
        QTest::newRow("selection") << true;
    }
    void closingTheBoardWhileWaitingFails() {
        QFETCH(bool, selecting);
        auto application = std::make_shared<BoardApplication>(board);
        auto modelSpace = document->modelSpace();
        auto group = document->groups()->add("g");
        auto set = document->selectionSets()->add("s");
        auto marker = modelSpace->addPoint({1, 2, 0});
        whileWaiting([&] { board->close(); });
        const std::int32_t error = errorOf([&] {
            if (selecting) {
                set->selectOnScreen();
            } else {
                document->utility()->getPoint("p");
            }
        });
        QCOMPARE(error, kDisconnected);
        QTRY_VERIFY(board.isNull());
        // Every object of the gone board fails cleanly.
        QCOMPARE(errorOf([&] { application->caption(); }), kDisconnected);
        QCOMPARE(errorOf([&] { application->activeDocument(); }), kDisconnected);
        QCOMPARE(errorOf([&] { document->utility(); }), kDisconnected);
        QCOMPARE(errorOf([&] { modelSpace->addPoint({0, 0, 0}); }), kDisconnected);
        QCOMPARE(errorOf([&] { marker->setColor(3); }), kDisconnected);
        QCOMPARE(errorOf([&] { marker->entityType(); }), kDisconnected);
        QCOMPARE(errorOf([&] { group->appendItems({marker}); }), kDisconnected);
        QCOMPARE(errorOf([&] { set->count(); }), kDisconnected);
    }

    void openingAnotherDrawingWhileWaitingFails() {
        whileWaiting([&] { board->setDrawing(Drawing(), "other.dxf"); });
        QCOMPARE(errorOf([&] { document->utility()->getPoint("p"); }), kDisconnected);
        QCOMPARE(errorOf([&] { document->modelSpace(); }), kDisconnected);
        QVERIFY(!board->isWaiting());
    }

    // --- The rest of the application waits; the board stays usable ---------------

    void otherWindowsTakeNoInputWhileWaiting() {
        QWidget mainWindow;
        auto* button = new QPushButton("Command3", &mainWindow);
        auto* field = new QLineEdit(&mainWindow);
        field->move(0, 40);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        int clicks = 0;
        connect(button, &QPushButton::clicked, [&] { ++clicks; });

        double scaleBefore = 0, scaleAfterWheel = 0;
        QPointF originBeforePan, originAfterPan;
        double scaleAfterMenu = 0;
        whileWaiting([&] {
            QTest::mouseClick(button, Qt::LeftButton);
            QTest::keyClicks(field, "12");
            QTest::keyClick(button, Qt::Key_Space);
            // The board: wheel zoom, middle-button pan, its menu.
            scaleBefore = view()->transform().scale();
            sendWheel(view(), QPoint(200, 200), 120);
            scaleAfterWheel = view()->transform().scale();
            originBeforePan = view()->transform().origin();
            QTest::mousePress(view(), Qt::MiddleButton, {}, QPoint(200, 200));
            QTest::mouseMove(view(), QPoint(260, 230));
            QTest::mouseRelease(view(), Qt::MiddleButton, {}, QPoint(260, 230));
            originAfterPan = view()->transform().origin();
            QMenuBar* bar = board->menuBar();
            QAction* viewMenu = bar->actions().at(1);
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(viewMenu).center());
            QMenu* menu = viewMenu->menu();
            auto* zoomAll = board->findChild<QAction*>("zoomExtentsAction");
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(zoomAll).center());
            scaleAfterMenu = view()->transform().scale();
            QTest::keyClick(view(), Qt::Key_Escape);
        });
        QCOMPARE(errorOf([&] { document->utility()->getPoint("p"); }), cad::kEFail);
        QCOMPARE(clicks, 0);
        QCOMPARE(field->text(), QString());
        QVERIFY(scaleAfterWheel > scaleBefore * 1.1);
        QCOMPARE(originAfterPan - originBeforePan, QPointF(60, 30));
        QCOMPARE(scaleAfterMenu, scaleBefore);
        // Once the request is over the main window takes input again.
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::keyClicks(field, "12");
        QCOMPARE(clicks, 1);
        QCOMPARE(field->text(), QStringLiteral("12"));
    }

  private:
    Ids select() {
        auto set = document->selectionSets()->add("set" + std::to_string(++sets_));
        set->selectOnScreen();
        Ids ids;
        for (int i = 0; i < set->count(); ++i) {
            ids.push_back(std::static_pointer_cast<BoardEntity>(set->item(i))->id());
        }
        return ids;
    }
    QString names(const Ids& ids) const {
        QStringList words;
        for (EntityId id : ids) {
            words << (id == polyline ? "polyline"
                      : id == line   ? "line"
                      : id == point  ? "point"
                      : id == circle ? "circle"
                                     : "?");
        }
        return words.join(' ');
    }
    int sets_ = 0;
};

QTEST_MAIN(BoardRequestsTest)
#include "test_board_requests.moc"
