// The whole job on the built-in board, as a user does it: Form1 in front,
// the board with the sample tendon behind it; origin, then the nodes by
// selecting the polyline or by picking them, then the table in Text8.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/qt/form1.h"
#include "cad/board/board_platform.h"
#include "cad/board/board_view.h"
#include "cad/board/board_window.h"
#include "windows/qt/mctfrm.h"

using namespace tendra;
using namespace tendra::board;

namespace {

// The sample tendon's vertices, left to right.
const std::vector<Vec2> kTendon{{-20000, 1200}, {-17500, 950}, {-15000, 700},
                                {-5000, 200},   {0, 200},      {5000, 200},
                                {15000, 700},   {17500, 950},  {20000, 1200}};

// The sample's half tendon, N2, ends on the mid-span line here.
const Vec2 kHalfTendonEnd{0, 450};

QString arcQuestion(int arcs) {
    return QStringLiteral(
               "所选多段线含 %1 段圆弧。\n是：以圆弧两侧切线交点为节点，半径列取圆弧半径；\n"
               "否：按顶点取节点（与以前相同）。")
        .arg(arcs);
}

// Both of the sample's tendons, selected with a window and answered Yes twice,
// origin on N2's mid-span end, no mirrored half.
//   N1: its ends and the vertices between straight legs stay (radius 15
//   typed in, 0 at the ends); each fillet (bulge tan(atan(0.05)/2), so
//   radius 10000·1.0025/0.1 = 100250) becomes the meeting point of its
//   legs: y = 700 − 0.1·(x + 15000) meets y = 200 at x = −10000, and
//   mirrored at x = 10000.
//   N2: the Yes table of the half tendon, with its mid-span end.
const char* const kSampleTablesAnsweredYes =
    "钢束N1\r\n"
    "-20000.000\t750.000\t0\r\n"
    "-17500.000\t500.000\t15\r\n"
    "-10000.000\t-250.000\t100250.000\r\n"
    "0.000\t-250.000\t15\r\n"
    "10000.000\t-250.000\t100250.000\r\n"
    "17500.000\t500.000\t15\r\n"
    "20000.000\t750.000\t0\r\n"
    "\r\n"
    "钢束N2\r\n"
    "-20000.000\t1250.000\t0\r\n"
    "-16000.000\t1250.000\t10000.000\r\n"
    "-9000.000\t200.000\t15\r\n"
    "-5000.000\t0.000\t20000.000\r\n"
    "0.000\t0.000\t0\r\n";

const char* const kOriginPick = "点取坐标原点 ";
const char* const kSelectObjects = "选择对象：";

QString nodePrompt(int n) {
    return QStringLiteral("点取第%1节点(右键或回车结束) ").arg(n);
}

// Answers the board's requests one by one: each step runs once the board
// waits with its prompt. A request nobody answers is ended with Esc after a
// while, so a broken flow fails instead of hanging.
class Script : public QObject {
  public:
    struct Step {
        QString prompt;
        std::function<void()> action;
    };

    Script(BoardPlatform& platform, std::vector<Step> steps)
        : platform_(platform), steps_(std::move(steps)) {
        connect(&timer_, &QTimer::timeout, this, &Script::poll);
        timer_.start(5);
        started_.start();
    }
    std::size_t done() const { return next_; }
    QStringList unexpected;  // prompts that came when another was due

  private:
    void poll() {
        BoardWindow* board = platform_.window();
        if (!board || !board->isWaiting() || board->prompt() == lastPrompt_) {
            return;
        }
        if (next_ < steps_.size() && board->prompt() == steps_[next_].prompt) {
            lastPrompt_ = board->prompt();
            steps_[next_++].action();
            lastPrompt_.clear();
            started_.restart();
        } else if (started_.elapsed() > 10000) {
            unexpected << board->prompt();
            QTest::keyClick(board->view(), Qt::Key_Escape);
            started_.restart();
        }
    }

    BoardPlatform& platform_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QString lastPrompt_;
    QTimer timer_;
    QElapsedTimer started_;
};

}  // namespace

class EndToEndBoardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<BoardPlatform> platform;
    std::unique_ptr<Form1> form;
    QStringList messages;         // texts of message boxes shown, closed at once
    bool answerYes = false;       // how a question is answered; else it is closed
    QStringList answers;          // the buttons of each question, "Yes/No"
    QList<int> cursorsOverBoxes;  // the override cursor's shape over each box, -1 for none
    QTimer messageWatch;

    BoardWindow* board() const { return platform->window(); }
    const Drawing& drawing() const { return *board()->drawing(); }
    void clickBoard(Vec2 at, QPoint offset = {}) {
        const QPoint screen = board()->view()->transform().toScreen(at.x, at.y).toPoint();
        QTest::mouseMove(board()->view(), screen + offset);
        QTest::mouseClick(board()->view(), Qt::LeftButton, {}, screen + offset);
    }
    void pressEnter() { QTest::keyClick(board()->view(), Qt::Key_Return); }
    QString tableInText8() const { return form->Text8->text(); }

    // The POINT entities of this colour, in drawing order; their ids are
    // appended to ids.
    std::vector<Vec2> pointsOfColour(int aci, std::vector<EntityId>* ids = nullptr) const {
        std::vector<Vec2> found;
        for (const Entity& entity : drawing().entities()) {
            if (const auto* point = std::get_if<PointEntity>(&entity.geometry);
                point && entity.color == aci) {
                found.push_back({point->at[0], point->at[1]});
                if (ids) {
                    ids->push_back(entity.id);
                }
            }
        }
        return found;
    }
    // Members of the one group in the drawing.
    std::vector<EntityId> markerGroup() const {
        const auto names = drawing().groupNames();
        return names.size() == 1 ? drawing().group(names.front()) : std::vector<EntityId>{};
    }

    // Command3 with a click a few pixels off this point, then Command4 with
    // a window over the whole view, answered Yes; the mirrored half off.
    void originThenWindowAnsweredYes(Vec2 origin, QPoint offset = {3, 2}) {
        Script pick(*platform, {{kOriginPick, [&] { clickBoard(origin, offset); }}});
        QTest::mouseClick(form->Command3, Qt::LeftButton);
        QCOMPARE(form->commands().origin(), (cad::Point{origin.x, origin.y, 0}));
        form->Check1->setChecked(false);
        answerYes = true;
        Script script(*platform, {{kSelectObjects, [&] {
                                       BoardView* view = board()->view();
                                       const QPoint from(2, 2);
                                       const QPoint to(view->width() - 3, view->height() - 3);
                                       QTest::mousePress(view, Qt::LeftButton, {}, from);
                                       QTest::mouseMove(view, to);
                                       QTest::mouseRelease(view, Qt::LeftButton, {}, to);
                                       pressEnter();
                                   }}});
        QTest::mouseClick(form->Command4, Qt::LeftButton);
        QCOMPARE(script.done(), std::size_t(1));
    }

    // Command3 with a click a few pixels off the tendon's left end.
    void initialiseOriginAtLeftEnd() {
        Script script(*platform, {{kOriginPick, [&] { clickBoard(kTendon[0], {4, -3}); }}});
        QTest::mouseClick(form->Command3, Qt::LeftButton);
        QCOMPARE(script.done(), std::size_t(1));
        QCOMPARE(form->commands().origin(), (cad::Point{-20000, 1200, 0}));
        QVERIFY(form->Command1->isEnabled());
        QVERIFY(form->Command4->isEnabled());
    }

  private slots:
    void init() {
        messages.clear();
        answers.clear();
        cursorsOverBoxes.clear();
        answerYes = false;
        platform = std::make_unique<BoardPlatform>();
        form = std::make_unique<Form1>(*platform);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        BoardWindow* opened = platform->openBoard(form->frameGeometry());
        QVERIFY(QTest::qWaitForWindowExposed(opened));
        QCOMPARE(opened->windowTitle(), QStringLiteral("Tendra 绘图板 - [tendon.dxf]"));
        // A message box would wait for a click that never comes.
        connect(&messageWatch, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages << box->text();
                const QCursor* cursor = QApplication::overrideCursor();
                cursorsOverBoxes << (cursor ? int(cursor->shape()) : -1);
                if (QAbstractButton* no = box->button(QMessageBox::No)) {
                    answers << box->button(QMessageBox::Yes)->text() + "/" + no->text();
                }
                if (QAbstractButton* yes = box->button(QMessageBox::Yes); yes && answerYes) {
                    yes->click();
                } else {
                    box->done(QMessageBox::Ok);
                }
            }
        });
        messageWatch.start(20);
    }

    void cleanup() {
        messageWatch.stop();
        messageWatch.disconnect();
        form.reset();
        platform.reset();
    }

    void originThenPolylineGivesTheTable() {
        initialiseOriginAtLeftEnd();
        std::vector<EntityId> originIds;
        QCOMPARE(pointsOfColour(1, &originIds), (std::vector<Vec2>{{-20000, 1200}}));
        QCOMPARE(drawing().pointDisplayMode(), 3);
        QCOMPARE(markerGroup(), originIds);

        // The whole tendon is drawn, so it is not mirrored.
        form->Check1->setChecked(false);
        QString textWhileSelecting;
        Script script(*platform, {{kSelectObjects, [&] {
                                       // The main window takes no clicks meanwhile.
                                       QTest::mouseClick(form->Command3, Qt::LeftButton);
                                       textWhileSelecting = form->Text8->toPlainText();
                                       clickBoard({-2500, 200});  // the straight middle segment
                                       pressEnter();
                                   }}});
        QTest::mouseClick(form->Command4, Qt::LeftButton);
        QCOMPARE(script.done(), std::size_t(1));
        QCOMPARE(script.unexpected, QStringList());
        // Its two fillets ask; closing the box keeps the vertices.
        QCOMPARE(messages, QStringList{arcQuestion(2)});
        QCOMPARE(answers, QStringList{QStringLiteral("是/否")});
        QCOMPARE(textWhileSelecting, QString());
        QCOMPARE(form->commands().origin(), (cad::Point{-20000, 1200, 0}));

        const QString expected = QStringLiteral(
            "0.000\t0.000\t0\r\n"
            "2500.000\t-250.000\t15\r\n"
            "5000.000\t-500.000\t15\r\n"
            "15000.000\t-1000.000\t15\r\n"
            "20000.000\t-1000.000\t15\r\n"
            "25000.000\t-1000.000\t15\r\n"
            "35000.000\t-500.000\t15\r\n"
            "37500.000\t-250.000\t15\r\n"
            "40000.000\t0.000\t0\r\n");
        QCOMPARE(tableInText8(), expected);
        // The group holds the origin's point, then the markers in drawing order.
        std::vector<EntityId> grouped = originIds;
        QCOMPARE(pointsOfColour(3, &grouped), kTendon);
        QCOMPARE(markerGroup(), grouped);
        QCOMPARE(form->Label4->text(), QStringLiteral("角点个数：9"));
    }

    // N2, answered Yes: the legs' intersection points, each fillet's radius,
    // the radius text at the sharp corner; symmetric without its mid-span end.
    void halfTendonWithFilletsAnsweredYesGivesIntersectionPointsAndRadii() {
        Script origin(*platform, {{kOriginPick, [&] { clickBoard(kHalfTendonEnd, {3, 2}); }}});
        QTest::mouseClick(form->Command3, Qt::LeftButton);
        QCOMPARE(form->commands().origin(), (cad::Point{0, 450, 0}));
        answerYes = true;
        Script script(*platform, {{kSelectObjects, [&] {
                                       clickBoard({-12000, 1100});  // the steep leg
                                       pressEnter();
                                   }}});
        QTest::mouseClick(form->Command4, Qt::LeftButton);
        QCOMPARE(script.done(), std::size_t(1));
        QCOMPARE(messages, QStringList{arcQuestion(2)});

        const QString expected = QStringLiteral(
            "-20000.000\t1250.000\t0\r\n"
            "-16000.000\t1250.000\t10000.000\r\n"
            "-9000.000\t200.000\t15\r\n"
            "-5000.000\t0.000\t20000.000\r\n"
            "5000.000\t0.000\t20000.000\r\n"
            "9000.000\t200.000\t15\r\n"
            "16000.000\t1250.000\t10000.000\r\n"
            "20000.000\t1250.000\t0\r\n");
        QCOMPARE(tableInText8(), expected);
        QCOMPARE(pointsOfColour(3).size(), std::size_t(4));
        QCOMPARE(form->Label4->text(), QStringLiteral("角点个数：8"));
    }

    // A window over the whole sample, answered Yes to both questions: each
    // tendon's table under the label next to it, N1 before N2.
    void windowOverTheSampleAnsweredYesGivesBothTablesNamed() {
        originThenWindowAnsweredYes(kHalfTendonEnd);
        QCOMPARE(messages,
                 (QStringList{
                     QStringLiteral("所选对象含 2 条多段线。\n是：逐条取节点，每条钢束一张表；\n"
                                    "否：只取第一条（与以前相同）。"),
                     arcQuestion(4)}));

        QCOMPARE(tableInText8(), QString::fromUtf8(kSampleTablesAnsweredYes));
        QCOMPARE(form->Label4->text(), QStringLiteral("钢束数：2，角点个数：12"));
        QCOMPARE(pointsOfColour(3).size(), std::size_t(12));
        // Busy after the selection: the arrow over both questions, nothing left after.
        QCOMPARE(cursorsOverBoxes, (QList<int>{Qt::ArrowCursor, Qt::ArrowCursor}));
        QVERIFY(!QApplication::overrideCursor());
    }

    // The same window with "midas MCT" chosen and its parameters typed into
    // mctfrm: one block whose Z= rows carry the named tables' numbers.
    void windowOverTheSampleAsMidasMctGivesOneProfileBlock() {
        std::function<void()> fill = [&] {
            auto* parameters = qobject_cast<mctfrm*>(QApplication::activeModalWidget());
            if (!parameters) {
                QTimer::singleShot(10, this, fill);
                return;
            }
            parameters->Text1->setText(QStringLiteral("15-12"));
            parameters->Text2->setText(QStringLiteral("1to40"));
            parameters->Text3->setText(QStringLiteral("G1"));
            QTest::mouseClick(parameters->Command1, Qt::LeftButton);
        };
        QTimer::singleShot(10, this, fill);
        form->Combo1->setCurrentText(QStringLiteral("midas MCT"));
        QCOMPARE(form->outputFormat(), OutputFormat::MidasMct);
        originThenWindowAnsweredYes(kHalfTendonEnd);

        const auto profile = [](const char* name, std::initializer_list<const char*> rows,
                                const char* lastX) {
            QString text = QStringLiteral(
                               "   NAME=%1, 15-12, 1to40, 0, 0, ROUND, 2D\r\n"
                               "      G1, USER, 0, 0, NO, \r\n"
                               "      STRAIGHT, 0, 0, 0, X, 0, 0\r\n"
                               "      0, YES, Y, 0\r\n"
                               "      Y=-20000.000, 0, NO, 0, 0, NONE, , , , \r\n"
                               "      Y=%2, 0, NO, 0, 0, NONE, , , , \r\n")
                               .arg(QString::fromUtf8(name), lastX);
            for (const char* row : rows) {
                text += QStringLiteral("      Z=%1, NONE, , , , \r\n").arg(row);
            }
            return text;
        };
        const QString expected =
            "*TDN-PROFILE\r\n" +
            profile("钢束N1",
                    {"-20000.000, 750.000, NO, 0, 0", "-17500.000, 500.000, NO, 0, 15.000",
                     "-10000.000, -250.000, NO, 0, 100250.000", "0.000, -250.000, NO, 0, 15.000",
                     "10000.000, -250.000, NO, 0, 100250.000", "17500.000, 500.000, NO, 0, 15.000",
                     "20000.000, 750.000, NO, 0, 0"},
                    "20000.000") +
            profile("钢束N2",
                    {"-20000.000, 1250.000, NO, 0, 0", "-16000.000, 1250.000, NO, 0, 10000.000",
                     "-9000.000, 200.000, NO, 0, 15.000", "-5000.000, 0.000, NO, 0, 20000.000",
                     "0.000, 0.000, NO, 0, 0"},
                    "0.000");
        QCOMPARE(tableInText8(), expected);
        QCOMPARE(form->Label4->text(), QStringLiteral("钢束数：2，角点个数：12"));
    }

    // The sample with its tendons exploded into lines and arcs: the same
    // tables as from its polylines; its centre lines (a closed outline and a
    // lone line) are no tendons.
    void windowOverTheExplodedSampleGivesThePolylinesTables() {
        QVERIFY(board()->openFile(TENDRA_EXAMPLES "/tendon-pieces.dxf"));
        originThenWindowAnsweredYes(kHalfTendonEnd);
        QCOMPARE(messages,
                 (QStringList{QStringLiteral("所选对象含 2 条钢束（多段线 0 条，直线与圆弧连成 "
                                             "2 条）。\n是：逐条取节点，每条钢束一张表；\n"
                                             "否：只取第一条（与以前相同）。"),
                              arcQuestion(4)}));
        QCOMPARE(tableInText8(), QString::fromUtf8(kSampleTablesAnsweredYes));
        QCOMPARE(form->Label4->text(), QStringLiteral("钢束数：2，角点个数：12"));
    }

    // A girder's four tendons as pieces, each on its layer, with a title
    // beside them and the girder's outline: the tables take the layers'
    // names. Every corner is filleted with a radius of 20 m, so answered
    // Yes each table is its two ends and two corners; origin on AT1's left end.
    void windowOverTendonsOnTheirLayersGivesTablesNamedAfterThem() {
        QVERIFY(board()->openFile(TENDRA_BOARD_DATA "/girder-layers.dxf"));
        // Just above it: AT2's end is a few pixels below.
        originThenWindowAnsweredYes({0, 1900}, {0, -1});
        QCOMPARE(messages,
                 (QStringList{QStringLiteral("所选对象含 4 条钢束（多段线 0 条，直线与圆弧连成 "
                                             "4 条）。\n是：逐条取节点，每条钢束一张表；\n"
                                             "否：只取第一条（与以前相同）。"),
                              arcQuestion(8)}));
        QString expected;
        const struct {
            const char* layer;
            int end, middle;
        } tendons[] = {
            {"AT1", 1900, 200}, {"AT2", 1750, 450}, {"AT3", 1500, 700}, {"AT4", 1200, 950}};
        for (const auto& tendon : tendons) {
            const auto y = [](int at) { return QString::number(at - 1900) + ".000"; };
            expected += (expected.isEmpty() ? "" : "\r\n") + QString(tendon.layer) + "\r\n" +
                        "0.000\t" + y(tendon.end) + "\t0\r\n" + "9000.000\t" + y(tendon.middle) +
                        "\t20000.000\r\n" + "21000.000\t" + y(tendon.middle) + "\t20000.000\r\n" +
                        "30000.000\t" + y(tendon.end) + "\t0\r\n";
        }
        QCOMPARE(tableInText8(), expected);
        QCOMPARE(form->Label4->text(), QStringLiteral("钢束数：4，角点个数：16"));
    }

    void originThenPickedNodesGivesTheTable() {
        initialiseOriginAtLeftEnd();
        std::vector<EntityId> originIds;
        pointsOfColour(1, &originIds);
        // Each pick lands a few pixels off its vertex and snaps to it.
        const auto pickNear = [this](int node, QPoint offset) {
            return Script::Step{nodePrompt(node), [=, this] { clickBoard(kTendon[node], offset); }};
        };
        Script script(*platform, {pickNear(1, {3, 3}),
                                  pickNear(2, {-4, 2}),
                                  pickNear(3, {2, -5}),
                                  {nodePrompt(4), [&] { pressEnter(); }}});
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(script.done(), std::size_t(4));
        QCOMPARE(script.unexpected, QStringList());
        // Symmetric about an origin at the anchor end: the user is told.
        QCOMPARE(messages, QStringList{QStringLiteral(
                               "请检查：\n对称：原点不在跨中对称线上，镜像半边与前半边重叠")});

        // Symmetric, the designed default: the mirrored half follows.
        const QString expected = QStringLiteral(
            "2500.000\t-250.000\t0\r\n"
            "5000.000\t-500.000\t15\r\n"
            "15000.000\t-1000.000\t15\r\n"
            "-15000.000\t-1000.000\t15\r\n"
            "-5000.000\t-500.000\t15\r\n"
            "-2500.000\t-250.000\t0\r\n");
        QCOMPARE(tableInText8(), expected);
        std::vector<EntityId> grouped = originIds;
        QCOMPARE(pointsOfColour(3, &grouped),
                 (std::vector<Vec2>{kTendon[1], kTendon[2], kTendon[3]}));
        QCOMPARE(markerGroup(), grouped);
        // Picking leaves the polyline count alone.
        QCOMPARE(form->Label4->text(), QString());
    }

    void closedBoardIsStartedAgainWithTheSample() {
        QPointer<BoardWindow> first = board();
        first->close();
        QTRY_VERIFY(first.isNull());
        initialiseOriginAtLeftEnd();
        QVERIFY(board() != nullptr);
        QCOMPARE(board()->windowTitle(), QStringLiteral("Tendra 绘图板 - [tendon.dxf]"));
        QCOMPARE(pointsOfColour(1), (std::vector<Vec2>{{-20000, 1200}}));
        QCOMPARE(messages, QStringList());
    }
};

int main(int argc, char** argv) {
    // The table's decimal separator comes from the system's number settings.
    qputenv("LC_ALL", "C.UTF-8");
    QApplication app(argc, argv);
    EndToEndBoardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_end_to_end_board.moc"
