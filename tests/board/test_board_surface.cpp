// The CAD surface as the board answers it, and the board as the CAD
// application the connection attaches to or starts.
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "cad/board/board_platform.h"
#include "cad/board/board_request.h"
#include "cad/board/board_surface.h"
#include "cad/board/board_window.h"
#include "cad/connection.h"
#include "tests/support/cad_errors.h"
#include "tests/support/fake_form.h"

using namespace tendra;
using namespace tendra::board;
using tendra::testing::errorOf;

using Call = std::function<void(cad::Document&)>;
Q_DECLARE_METATYPE(Call)

namespace {

Drawing sampleLikeDrawing(EntityId* polyline, EntityId* line) {
    Drawing drawing;
    LightweightPolyline tendon;
    tendon.vertices = {{-30, 5, 0}, {-20, 2, 0.25}, {-10, 0, 0}};
    tendon.normal = {0, 0, -1};
    *polyline = drawing.add(tendon);
    *line = drawing.add(Line{{0, 0, 0}, {10, 0, 0}});
    return drawing;
}

}  // namespace

class BoardSurfaceTest : public QObject {
    Q_OBJECT

    QPointer<BoardWindow> board;
    EntityId polyline = 0, line = 0;

    cad::DocumentPtr document() { return BoardApplication(board).activeDocument(); }
    const Drawing& drawing() { return *board->drawing(); }

  private slots:
    void init() {
        board = new BoardWindow;
        board->setDrawing(sampleLikeDrawing(&polyline, &line), "t.dxf");
    }
    void cleanup() { delete board.data(); }

    void markersGroupsAndVariablesReachTheDrawing() {
        auto doc = document();
        auto origin = doc->modelSpace()->addPoint({5, 6, 0});
        origin->setColor(1);
        doc->setVariable("pdmode", 3);
        auto group = doc->groups()->add(".7055475");
        auto node = doc->modelSpace()->addPoint({-30, 5, 0});
        node->setColor(3);
        group->appendItems({origin});
        group->appendItems({node});

        const auto originId = std::static_pointer_cast<BoardEntity>(origin)->id();
        const auto nodeId = std::static_pointer_cast<BoardEntity>(node)->id();
        QCOMPARE(origin->entityType(), cad::entity_type::kPoint);
        QCOMPARE(drawing().entity(originId).color, 1);
        QCOMPARE(drawing().entity(nodeId).color, 3);
        QCOMPARE(drawing().pointDisplayMode(), 3);
        QCOMPARE(drawing().group(".7055475"), (std::vector<EntityId>{originId, nodeId}));
    }

    void polylineAnswersItsTypeCoordinatesBulgesAndNormal() {
        auto entity = std::make_shared<BoardEntity>(BoardLink(board, board->drawing()), polyline);
        QCOMPARE(entity->entityType(), cad::entity_type::kLightweightPolyline);
        QCOMPARE(entity->coordinates(), (std::vector<double>{-30, 5, -20, 2, -10, 0}));
        QCOMPARE(entity->bulge(1), 0.25);
        QCOMPARE(entity->bulge(2), 0.0);
        QCOMPARE(entity->normal(), (cad::Point{0, 0, -1}));
    }

    // Picking a block instead of the tendon: AutoCAD's type for a block
    // reference, which the polyline command refuses, and no coordinates.
    void blockReferenceAnswersItsTypeAndHasNoCoordinates() {
        Drawing withBlock;
        withBlock.defineBlock(
            {"ANCHOR", {0, 0}, {Entity{0, "0", kColorByLayer, Line{{0, 0, 0}, {1, 0, 0}}}}});
        BlockReference reference;
        reference.block = "ANCHOR";
        const EntityId id = withBlock.add(reference);
        board->setDrawing(std::move(withBlock), "b.dxf");
        auto entity = std::make_shared<BoardEntity>(BoardLink(board, board->drawing()), id);
        QCOMPARE(entity->entityType(), entity_kind::kBlockReference);
        try {
            entity->coordinates();
            QFAIL("a block reference gave coordinates");
        } catch (const cad::CadError& error) {
            QCOMPARE(error.number(), kInvalidArgument);
        }
    }

    void captionIsTheWindowTitle() {
        QCOMPARE(BoardApplication(board).caption(), std::string("Tendra 绘图板 - [t.dxf]"));
        QCOMPARE(QString::fromStdString(BoardApplication(board).caption()), board->windowTitle());
    }

    void visibleShowsAndHidesTheBoard() {
        BoardApplication application(board);
        application.setVisible(true);
        QVERIFY(board->isVisible());
        application.setVisible(false);
        QVERIFY(!board->isVisible());
    }

    void failuresCarryAutoCadNumbers_data() {
        QTest::addColumn<Call>("call");
        QTest::addColumn<int>("expected");
        QTest::newRow("group name taken") << Call([](cad::Document& d) {
            d.groups()->add("G1");
            d.groups()->add("g1");
        }) << int(kDuplicateRecordName);
        QTest::newRow("selection set name taken") << Call([](cad::Document& d) {
            d.selectionSets()->add("S");
            d.selectionSets()->add("S");
        }) << int(kDuplicateRecordName);
        QTest::newRow("normal of a point") << Call([](cad::Document& d) {
            d.modelSpace()->addPoint({0, 0, 0})->normal();
        }) << int(kInvalidArgument);
        QTest::newRow("coordinates of a point") << Call([](cad::Document& d) {
            d.modelSpace()->addPoint({0, 0, 0})->coordinates();
        }) << int(kInvalidArgument);
        QTest::newRow("start point of a point") << Call([](cad::Document& d) {
            d.modelSpace()->addPoint({0, 0, 0})->startPoint();
        }) << int(kInvalidArgument);
        QTest::newRow("text height of a point") << Call([](cad::Document& d) {
            d.modelSpace()->addPoint({0, 0, 0})->height();
        }) << int(kInvalidArgument);
        QTest::newRow("member past the end of a selection set")
            << Call([](cad::Document& d) { d.selectionSets()->add("S")->item(0); })
            << int(kInvalidArgument);
        QTest::newRow("negative member index")
            << Call([](cad::Document& d) { d.selectionSets()->add("S")->item(-1); })
            << int(kInvalidArgument);
        QTest::newRow("the 129th selection set open") << Call([](cad::Document& d) {
            for (int i = 0; i <= cad::kMaxSelectionSets; ++i) {
                d.selectionSets()->add("S" + std::to_string(i));
            }
        }) << int(kTooManySelectionSets);
        QTest::newRow("a deleted selection set") << Call([](cad::Document& d) {
            auto set = d.selectionSets()->add("S");
            set->deleteSet();
            set->count();
        }) << int(kInvalidArgument);
        QTest::newRow("a selection set deleted twice") << Call([](cad::Document& d) {
            auto set = d.selectionSets()->add("S");
            set->deleteSet();
            set->deleteSet();
        }) << int(kInvalidArgument);
        QTest::newRow("group member from no board") << Call([](cad::Document& d) {
            struct Foreign : cad::Entity {
                void setColor(int) override {}
                int entityType() override { return 22; }
                std::vector<double> coordinates() override { return {}; }
                double bulge(int) override { return 0; }
                cad::Point normal() override { return {0, 0, 1}; }
                std::string objectName() override { return "AcDbPoint"; }
                std::string textString() override { return {}; }
                cad::Point insertionPoint() override { return {0, 0, 0}; }
                std::string layer() override { return "0"; }
                cad::Point startPoint() override { return {0, 0, 0}; }
                cad::Point endPoint() override { return {0, 0, 0}; }
                cad::Point center() override { return {0, 0, 0}; }
                int polylineType() override { return 0; }
                double height() override { return 0; }
            };
            d.groups()->add("G")->appendItems({std::make_shared<Foreign>()});
        }) << int(kInvalidArgument);
    }
    void failuresCarryAutoCadNumbers() {
        QFETCH(Call, call);
        QFETCH(int, expected);
        auto doc = document();
        QCOMPARE(errorOf([&] { call(*doc); }), expected);
    }

    // One click's selection set after another, each deleted once used: the
    // session's limit never comes near.
    void deletedSelectionSetsMakeRoomForMore() {
        auto doc = document();
        for (int i = 0; i < 200; ++i) {
            auto set = doc->selectionSets()->add("S" + std::to_string(i));
            QCOMPARE(set->count(), 0);
            set->deleteSet();
        }
        QVERIFY(drawing().hasSelectionSet("S199"));
        QVERIFY(drawing().selectionSet("S199").empty());
    }

    void noDrawingOpenMeansNoActiveDocument() {
        BoardWindow empty;
        QCOMPARE(errorOf([&] { BoardApplication(&empty).activeDocument(); }), cad::kEFail);
        QCOMPARE(BoardApplication(&empty).caption(), std::string("Tendra 绘图板"));
    }

    void objectsOfAReplacedDrawingFail() {
        auto doc = document();
        auto marker = doc->modelSpace()->addPoint({0, 0, 0});
        auto group = doc->groups()->add("G");
        board->setDrawing(Drawing(), "other.dxf");
        QCOMPARE(errorOf([&] { doc->modelSpace(); }), kDisconnected);
        QCOMPARE(errorOf([&] { marker->setColor(3); }), kDisconnected);
        QCOMPARE(errorOf([&] { group->appendItems({marker}); }), kDisconnected);
        // The new drawing's group takes no entity of the old one.
        auto newGroup = document()->groups()->add("G");
        QCOMPARE(errorOf([&] { newGroup->appendItems({marker}); }), kInvalidArgument);
    }

    // --- The board as the CAD application --------------------------------------

    void placedBesideTheMainWindow_data() {
        QTest::addColumn<QRect>("mainWindow");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("expected");
        // The board's own size, for when no strip is usable, is 900x650.
        const QRect wide(0, 0, 1920, 1040);
        QTest::newRow("room below: the whole width under the window")
            << QRect(100, 100, 440, 360) << wide << QRect(0, 468, 1920, 572);
        QTest::newRow("1600x1000, main window centred as at start-up: the width below it")
            << QRect(584, 217, 431, 348) << QRect(0, 0, 1600, 1000) << QRect(0, 573, 1600, 427);
        QTest::newRow("too little room above and below: the whole height on the right")
            << QRect(100, 300, 440, 500) << wide << QRect(548, 0, 1372, 1040);
        QTest::newRow("roomier side on the left")
            << QRect(1300, 300, 440, 500) << wide << QRect(0, 0, 1292, 1040);
        QTest::newRow("right wins a tie with the left")
            << QRect(740, 300, 440, 500) << wide << QRect(1188, 0, 732, 1040);
        QTest::newRow("room above only")
            << QRect(100, 700, 440, 330) << wide << QRect(0, 0, 1920, 692);
        QTest::newRow("a panel at the top: strips stay in the available area")
            << QRect(100, 300, 440, 500) << QRect(0, 40, 1920, 1000) << QRect(548, 40, 1372, 1000);
        QTest::newRow("no usable room: the board's size over the right part of the screen")
            << QRect(300, 310, 1400, 700) << wide << QRect(1020, 310, 900, 650);
        QTest::newRow("no usable room, window above the screen: kept on screen")
            << QRect(300, -200, 1400, 1200) << wide << QRect(1020, 0, 900, 650);
    }
    void placedBesideTheMainWindow() {
        QFETCH(QRect, mainWindow);
        QFETCH(QRect, screen);
        QFETCH(QRect, expected);
        QCOMPARE(placeBeside(mainWindow, screen, QSize(900, 650)), expected);
    }

    void boardRunsOnceOpenAndStartsAgainAfterClosing() {
        BoardPlatform platform;
        QCOMPARE(errorOf([&] { platform.getRunningObject("AutoCAD.Application"); }), kNotRunning);

        BoardWindow* first = platform.openBoard(QRect(0, 0, 400, 300));
        QVERIFY(first->isVisible());
        auto running = platform.getRunningObject("AutoCAD.Application");
        QCOMPARE(running->caption(), std::string("Tendra 绘图板 - [tendon.dxf]"));
        auto sample = running->activeDocument();
        QVERIFY(!first->drawing()->empty());

        QPointer<BoardWindow> closed(first);
        first->close();
        QCOMPARE(errorOf([&] { platform.getRunningObject("AutoCAD.Application"); }), kNotRunning);
        QCOMPARE(errorOf([&] { sample->modelSpace(); }), kDisconnected);
        QTRY_VERIFY(closed.isNull());

        auto started = platform.createObject("AutoCAD.Application");
        QVERIFY(platform.window() != nullptr);
        QVERIFY(platform.window()->isVisible());
        QCOMPARE(started->caption(), std::string("Tendra 绘图板 - [tendon.dxf]"));
        QVERIFY(platform.getRunningObject("AutoCAD.Application") != nullptr);
    }

    // `tendra drawing.dxf`: that drawing instead of the sample; one that
    // cannot be read is said over the sample, once.
    void boardStartsWithTheDrawingNamed_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("a drawing of the user's") << TENDRA_TEST_DATA "/girder-layers.dxf"
                                                 << "Tendra 绘图板 - [girder-layers.dxf]"
                                                 << "";
        QTest::newRow("a missing file: the sample, and why")
            << TENDRA_TEST_DATA "/no-such.dxf"
            << "Tendra 绘图板 - [tendon.dxf]"
            << TENDRA_TEST_DATA "/no-such.dxf\n无法读取图形文件：文件不存在或无法打开";
        QTest::newRow("a cut-off file: the sample, and why")
            << TENDRA_TEST_DATA "/hostile/no_eof.dxf"
            << "Tendra 绘图板 - [tendon.dxf]"
            << TENDRA_TEST_DATA
            "/hostile/no_eof.dxf\n无法读取图形文件：文件不完整，缺少结束标记 EOF";
    }
    void boardStartsWithTheDrawingNamed() {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QFETCH(QString, message);
        QStringList shown;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        closer.start(20);
        BoardPlatform platform;
        platform.setStartDrawing(path);
        QCOMPARE(platform.openBoard(QRect(0, 0, 400, 300))->windowTitle(), title);
        QCOMPARE(shown, message.isEmpty() ? QStringList() : QStringList{message});
        // Started again after closing: the same drawing, nothing said twice.
        QPointer<BoardWindow> first(platform.window());
        first->close();
        QTRY_VERIFY(first.isNull());
        QCOMPARE(QString::fromStdString(platform.createObject("AutoCAD.Application")->caption()),
                 title);
        QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
    }

    void connectionFindsTheBoardAndBringsItToTheFront() {
        BoardPlatform platform;
        QWidget mainWindow;
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        platform.openBoard(mainWindow.frameGeometry());
        mainWindow.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &mainWindow);

        testing::FakeForm messages;
        cad::Module1 module1(platform, messages);
        module1.connect();
        QVERIFY(messages.messages.empty());
        QVERIFY(module1.document() != nullptr);
        QTRY_COMPARE(QApplication::activeWindow(), platform.window());

        // A title that differs in any way brings nothing to the front.
        mainWindow.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &mainWindow);
        platform.activateWindow("Tendra 绘图板 - [tendon.dxf] ");
        platform.activateWindow("tendra 绘图板 - [tendon.dxf]");
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), &mainWindow);
    }
};

QTEST_MAIN(BoardSurfaceTest)
#include "test_board_surface.moc"
