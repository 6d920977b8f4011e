// The test drawings on the board: each opens, shows the colours its block
// references, dimensions and fills draw in, and tells what it left out.
// With TENDRA_SNAPSHOT_DIR set, the views are also saved there as PNG files.
#include <QStatusBar>
#include <QtTest>

#include "cad/board/aci_colors.h"
#include "cad/board/board_view.h"
#include "cad/board/board_window.h"

using namespace tendra::board;

class TestBoardDrawings : public QObject {
    Q_OBJECT

  private slots:
    void showsWhatTheFileHolds_data();
    void showsWhatTheFileHolds();
};

void TestBoardDrawings::showsWhatTheFileHolds_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<int>>("colours");
    QTest::addColumn<QString>("status");
    // Colours only parts of references, dimensions or the new kinds are drawn in.
    QTest::newRow("blocks: ByBlock parts in red, mirrored blue, rotated yellow")
        << "blocks.dxf" << QList<int>{1, 5, 2} << "";
    QTest::newRow("blocks in binary form") << "blocks_binary.dxf" << QList<int>{1, 5, 2} << "";
    QTest::newRow("dimensions on their yellow layer") << "dimensions.dxf" << QList<int>{2} << "";
    QTest::newRow("tendons as lines and arcs in their layers' colours")
        << "girder-layers.dxf" << QList<int>{1, 3, 4, 6} << "";
    QTest::newRow("curves, fills and the kinds left out")
        << "curves.dxf" << QList<int>{1, 2, 3, 4, 5, 6}
        << QStringLiteral("未显示：2 MLINE、1 WIPEOUT、1 3DSOLID");
}

void TestBoardDrawings::showsWhatTheFileHolds() {
    QFETCH(QString, file);
    QFETCH(QList<int>, colours);
    QFETCH(QString, status);
    BoardWindow window;
    window.resize(900, 700);
    QString error;
    QVERIFY2(window.openFile(QStringLiteral(TENDRA_TEST_DATA "/") + file, &error),
             qPrintable(error));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* view = window.findChild<BoardView*>();
    QVERIFY(view);
    const QImage image = view->grab().toImage();
    if (const QByteArray dir = qgetenv("TENDRA_SNAPSHOT_DIR"); !dir.isEmpty()) {
        image.save(QString::fromLocal8Bit(dir) + "/" + QFileInfo(file).baseName() + ".png");
    }
    for (int colour : colours) {
        const QRgb wanted = aciColor(colour).rgb();
        bool found = false;
        for (int y = 0; y < image.height() && !found; ++y) {
            for (int x = 0; x < image.width() && !found; ++x) {
                found = image.pixel(x, y) == wanted;
            }
        }
        QVERIFY2(found, qPrintable(QStringLiteral("ACI %1 is not drawn").arg(colour)));
    }
    QCOMPARE(window.statusBar()->currentMessage(), status);
}

QTEST_MAIN(TestBoardDrawings)
#include "test_board_drawings.moc"
