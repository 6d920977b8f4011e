// The board's view and window: the view transform, how points and entities
// are drawn, wheel zoom and coordinates, opening, saving and dropping files.
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include "cad/board/aci_colors.h"
#include "cad/board/board_view.h"
#include "cad/board/board_window.h"
#include "cad/board/model/dxf.h"
#include "cad/board/point_style.h"
#include "cad/board/view_transform.h"

using namespace tendra;
using namespace tendra::board;

namespace {

// How far a pixel lies from the background towards this colour (1: fully
// that colour, 0.5: an antialiased edge), or -1 when it is another colour.
double towards(QColor pixel, QColor target) {
    const int offset[3] = {pixel.red() - kBackground.red(), pixel.green() - kBackground.green(),
                           pixel.blue() - kBackground.blue()};
    const int span[3] = {target.red() - kBackground.red(), target.green() - kBackground.green(),
                         target.blue() - kBackground.blue()};
    int strongest = 0;
    for (int c = 1; c < 3; ++c) {
        if (std::abs(span[c]) > std::abs(span[strongest])) {
            strongest = c;
        }
    }
    const double fraction = double(offset[strongest]) / span[strongest];
    for (int c = 0; c < 3; ++c) {
        if (std::abs(offset[c] - fraction * span[c]) > 30) {
            return -1;
        }
    }
    return fraction;
}

// Whether this colour is drawn at or right next to a pixel: lines are
// antialiased, so a line between two pixel rows shows half in each.
bool shows(const QImage& image, QPoint at, QColor colour) {
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (towards(image.pixelColor(at + QPoint(dx, dy)), colour) >= 0.45) {
                return true;
            }
        }
    }
    return false;
}

bool blank(const QImage& image, QPoint at) {
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (image.pixelColor(at + QPoint(dx, dy)) != kBackground) {
                return false;
            }
        }
    }
    return true;
}

// Shows the drawing in the board at this size; false when it never came up.
bool showDrawing(BoardWindow& board, Drawing drawing, QSize size) {
    board.setDrawing(std::move(drawing), "shown.dxf");
    board.resize(size);
    board.show();
    return QTest::qWaitForWindowExposed(&board);
}

}  // namespace

class BoardViewTest : public QObject {
    Q_OBJECT

  private slots:
    // --- View transform -----------------------------------------------------

    void fittingCentresTheExtents_data() {
        QTest::addColumn<QRectF>("extents");
        QTest::addColumn<double>("scale");
        QTest::newRow("wide drawing: the width decides") << QRectF(0, 0, 200, 10) << 4.5;
        QTest::newRow("tall drawing: the height decides") << QRectF(-50, -50, 10, 300) << 1.5;
        QTest::newRow("horizontal line: finite scale") << QRectF(10, 5, 100, 0) << 9.0;
        QTest::newRow("single point: one unit shown") << QRectF(7, 7, 0, 0) << 450.0;
    }
    void fittingCentresTheExtents() {
        QFETCH(QRectF, extents);
        QFETCH(double, scale);
        // A 1000 x 500 view with a 5 % margin leaves 900 x 450.
        const ViewTransform view = ViewTransform::fitting(extents, QSizeF(1000, 500));
        QCOMPARE(view.scale(), scale);
        QCOMPARE(view.toScreen(extents.center()), QPointF(500, 250));
    }

    void zoomKeepsThePointUnderTheCursor_data() {
        QTest::addColumn<double>("factor");
        QTest::newRow("in") << 1.2;
        QTest::newRow("out") << 1 / 1.2;
        QTest::newRow("huge factor is clamped") << 1e300;
    }
    void zoomKeepsThePointUnderTheCursor() {
        QFETCH(double, factor);
        ViewTransform view = ViewTransform::fitting(QRectF(0, 0, 100, 100), QSizeF(400, 400));
        const QPointF cursor(123, 321);
        const QPointF under = view.toDrawing(cursor);
        view.zoomAbout(cursor, factor);
        QVERIFY(view.scale() <= ViewTransform::kMaxScale);
        QCOMPARE(view.toDrawing(cursor), under);
    }

    // --- Points and colours -----------------------------------------------------

    void pointsShowInTheirModeAndColour_data() {
        QTest::addColumn<int>("pdmode");
        QTest::addColumn<int>("aci");
        QTest::addColumn<bool>("onDiagonal");
        QTest::addColumn<bool>("onAxis");
        QTest::addColumn<bool>("atCentre");
        QTest::newRow("3 is a red X") << 3 << 1 << true << false << true;
        QTest::newRow("3 is a green X") << 3 << 3 << true << false << true;
        QTest::newRow("2 is a plus") << 2 << 3 << false << true << true;
        QTest::newRow("0 is a dot only") << 0 << 1 << false << false << true;
        QTest::newRow("1 shows nothing") << 1 << 1 << false << false << false;
        QTest::newRow("67 is an X in a square") << 67 << 3 << true << false << true;
    }
    void pointsShowInTheirModeAndColour() {
        QFETCH(int, pdmode);
        QFETCH(int, aci);
        QFETCH(bool, onDiagonal);
        QFETCH(bool, onAxis);
        QFETCH(bool, atCentre);
        Drawing drawing;
        drawing.setColor(drawing.addPoint(0, 0), aci);
        drawing.add(Line{{-100, -100, 0}, {-90, -100, 0}});  // gives the view some extent
        drawing.add(Line{{100, 100, 0}, {90, 100, 0}});
        drawing.setVariable("PDMODE", pdmode);
        BoardWindow board;
        QVERIFY(showDrawing(board, std::move(drawing), QSize(600, 500)));
        board.zoomExtents();
        BoardView* view = board.view();
        const QImage image = view->grab().toImage();
        const QPoint centre = view->transform().toScreen(0, 0).toPoint();
        const double size = pointGlyphPixels(0, view->height(), view->transform().scale());
        const int quarter = int(size / 4);
        const QColor colour = aciColor(aci);
        QCOMPARE(shows(image, centre + QPoint(quarter, quarter), colour), onDiagonal);
        QCOMPARE(shows(image, centre + QPoint(quarter, 0), colour), onAxis);
        QCOMPARE(blank(image, centre + QPoint(quarter, quarter)), !onDiagonal);
        QCOMPARE(shows(image, centre, colour), atCentre);
        QCOMPARE(blank(image, centre), !atCentre);
        if (pdmode & 64) {
            QVERIFY(shows(image, centre + QPoint(int(size / 2), quarter), colour));
        }
    }

    void entitiesShowInTheirColoursOnTheDarkBackground() {
        Drawing drawing;
        drawing.setLayer(Layer{"AXIS", 1});
        drawing.add(Line{{0, 0, 0}, {100, 0, 0}});              // layer 0: white
        drawing.add(Line{{0, 50, 0}, {100, 50, 0}}, "AXIS");    // by layer: red
        drawing.add(Line{{0, 100, 0}, {100, 100, 0}}, "0", 5);  // blue
        BoardWindow board;
        QVERIFY(showDrawing(board, std::move(drawing), QSize(600, 500)));
        BoardView* view = board.view();
        const QImage image = view->grab().toImage();
        const auto at = [&](double x, double y) {
            return view->transform().toScreen(x, y).toPoint();
        };
        QVERIFY(shows(image, at(50, 0), Qt::white));
        QVERIFY(shows(image, at(50, 50), Qt::red));
        QVERIFY(shows(image, at(50, 100), Qt::blue));
        QVERIFY(!shows(image, at(50, 50), Qt::white));
        QVERIFY(blank(image, at(50, 75)));
    }

    void aciColours_data() {
        QTest::addColumn<int>("aci");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("1 red") << 1 << QColor(Qt::red);
        QTest::newRow("3 green") << 3 << QColor(Qt::green);
        QTest::newRow("7 white on dark") << 7 << QColor(Qt::white);
        QTest::newRow("ByLayer unresolved falls back to 7") << 256 << QColor(Qt::white);
        QTest::newRow("10 is a full red") << 10 << QColor(255, 0, 0);
        QTest::newRow("250 a dark grey") << 250 << QColor(0x33, 0x33, 0x33);
    }
    void aciColours() {
        QFETCH(int, aci);
        QFETCH(QColor, expected);
        QCOMPARE(aciColor(aci), expected);
    }

    // --- Window: zoom, coordinates, files -------------------------------------------

    void wheelZoomsAboutTheCursorAndStatusShowsCoordinates() {
        Drawing drawing;
        drawing.add(Line{{0, 0, 0}, {1000, 500, 0}});
        BoardWindow board;
        QVERIFY(showDrawing(board, std::move(drawing), QSize(700, 500)));
        BoardView* view = board.view();
        const QPoint cursor(150, 120);
        QTest::mouseMove(view, cursor);
        const QPointF under = view->transform().toDrawing(cursor);
        auto* coordinates = board.findChild<QLabel*>("coordinates");
        QCOMPARE(coordinates->text(),
                 QStringLiteral("%1, %2").arg(under.x(), 0, 'f', 4).arg(under.y(), 0, 'f', 4));
        const double before = view->transform().scale();
        QWheelEvent wheel(cursor, view->mapToGlobal(cursor), QPoint(), QPoint(0, 240), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
        QCOMPARE(view->transform().scale(), before * 1.44);
        QCOMPARE(view->transform().toDrawing(cursor), under);
    }

    void badFileKeepsTheDrawingAndSaysWhy_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("truncated file")
            << QByteArray("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n");
        QTest::newRow("binary garbage") << QByteArray("\x00\x01\xff\xfe garbage", 13);
    }
    void badFileKeepsTheDrawingAndSaysWhy() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.dxf");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        BoardWindow board;
        Drawing drawing;
        drawing.addPoint(1, 1);
        board.setDrawing(std::move(drawing), "kept.dxf");
        const auto before = board.drawing();
        QString error;
        QVERIFY(!board.openFile(path, &error));
        QVERIFY2(error.startsWith(QStringLiteral("无法读取图形文件：")), qPrintable(error));
        QCOMPARE(board.drawing(), before);
        QCOMPARE(board.windowTitle(), QStringLiteral("Tendra 绘图板 - [kept.dxf]"));
    }

    void savedDrawingOpensAgainWithItsMarkers() {
        QTemporaryDir dir;
        const QString path = dir.filePath("saved.dxf");
        Drawing drawing;
        drawing.setColor(drawing.addPoint(1, 2), 1);
        drawing.setColor(drawing.addPoint(3, 4), 3);
        drawing.setVariable("PDMODE", 3);
        BoardWindow board;
        board.setDrawing(std::move(drawing), "d.dxf");
        QString error;
        QVERIFY2(board.saveFile(path, &error), qPrintable(error));
        QCOMPARE(board.windowTitle(), QStringLiteral("Tendra 绘图板 - [saved.dxf]"));
        BoardWindow other;
        QVERIFY2(other.openFile(path, &error), qPrintable(error));
        const Drawing& reopened = *other.drawing();
        QCOMPARE(reopened.size(), std::size_t(2));
        QCOMPARE(reopened.entities()[0].color, 1);
        QCOMPARE(reopened.entities()[1].color, 3);
        QCOMPARE(reopened.pointDisplayMode(), 3);
    }

    void largeFilesShowProgress_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("progress");
        QTest::newRow("small file: no progress bar") << 10 << false;
        QTest::newRow("file over the threshold: progress bar") << 60000 << true;
    }
    void largeFilesShowProgress() {
        QFETCH(int, lines);
        QFETCH(bool, progress);
        QTemporaryDir dir;
        const QString path = dir.filePath("large.dxf");
        Drawing drawing;
        for (int i = 0; i < lines; ++i) {
            drawing.add(Line{{i * 1.5, 0, 0}, {i * 1.5 + 1, 1000.25, 0}});
        }
        saveDxfFile(drawing, path.toStdString());
        QCOMPARE(QFileInfo(path).size() > kProgressThresholdBytes, progress);
        BoardWindow board;
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        // The progress bar lets events through while it shows; a timer sees it.
        bool seen = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (auto* bar = board.findChild<QProgressDialog*>(); bar && bar->isVisible()) {
                seen = true;
            }
        });
        watch.start(0);
        QString error;
        QVERIFY2(board.openFile(path, &error), qPrintable(error));
        QCOMPARE(seen, progress);
        QCOMPARE(board.drawing()->size(), std::size_t(lines));
    }

    void droppedDxfFileIsOpened_data() {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a .dxf file")
            << QList<QUrl>{QUrl::fromLocalFile("/tmp/a.dxf")} << "/tmp/a.dxf";
        QTest::newRow("upper-case suffix")
            << QList<QUrl>{QUrl::fromLocalFile("/tmp/A.DXF")} << "/tmp/A.DXF";
        QTest::newRow("the first .dxf among others")
            << QList<QUrl>{QUrl::fromLocalFile("/tmp/n.txt"), QUrl::fromLocalFile("/tmp/b.dxf")}
            << "/tmp/b.dxf";
        QTest::newRow("not a drawing") << QList<QUrl>{QUrl::fromLocalFile("/tmp/n.dwg")} << "";
        QTest::newRow("not a local file") << QList<QUrl>{QUrl("https://example.org/a.dxf")} << "";
    }
    void droppedDxfFileIsOpened() {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, expected);
        QMimeData mime;
        mime.setUrls(urls);
        QCOMPARE(droppedDxfFile(&mime), expected);
    }

    void dropOpensTheFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("dropped.dxf");
        Drawing drawing;
        drawing.add(Line{{0, 0, 0}, {1, 1, 0}});
        saveDxfFile(drawing, path.toStdString());
        BoardWindow board;
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&board, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&board, &drop);
        QCOMPARE(board.windowTitle(), QStringLiteral("Tendra 绘图板 - [dropped.dxf]"));
        QCOMPARE(board.drawing()->size(), std::size_t(1));
    }
};

QTEST_MAIN(BoardViewTest)
#include "test_board_view.moc"
