// The about window: every control as designed, the placement rule, the links
// and the button that closes it.
#include <QtTest>

#include <QBitmap>
#include <QDesktopServices>
#include <QFontInfo>
#include <QPointer>
#include <QPushButton>

#include "ui/qt/screen.h"
#include "ui/qt/twips.h"
#include "ui/vendor.h"
#include "windows/qt/aboutfrm.h"
#include "windows/qt/clickable_label.h"

using namespace tendra;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QString kHomePage = QString::fromUtf8(vendor::kHomePage);
const QString kOrganisationPage = QString::fromUtf8(vendor::kOrganisationPage);

// The faces a designed family may end up as on a machine without it.
QStringList acceptableFaces(const QString& family) {
    if (family == QStringLiteral("宋体")) {
        return {family, QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                QStringLiteral("Noto Sans CJK SC")};
    }
    if (family == QStringLiteral("Tahoma")) {
        return {family, QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")};
    }
    return {family, QStringLiteral("DejaVu Sans")};
}

}  // namespace

// Stands in for the system's browser and mail program.
class OpenedUrls : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
  public slots:
    void open(const QUrl& url) { urls.append(url); }
};

class TestAbout : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void window();
    void controls_data();
    void controls();
    void underlineShows_data();
    void underlineShows();
    void handCursor();
    void placement_data();
    void placement();
    void links_data();
    void links();
    void command1ClosesTheModalWindow();

  private:
    OpenedUrls opened_;
};

void TestAbout::initTestCase() {
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &opened_, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &opened_, "open");
}

void TestAbout::cleanupTestCase() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
}

void TestAbout::init() {
    opened_.urls.clear();
    setScreenSizeForTests(QSize(1024, 768));
}

void TestAbout::cleanup() {
    setScreenSizeForTests(QSize());
}

void TestAbout::window() {
    aboutfrm about;
    const double dpi = logicalDpi(&about);
    QCOMPARE(about.windowTitle(), QStringLiteral("Corvane"));
    // Fixed dialog frame: no resizing, no minimise or maximise box.
    const QSize client = twipsRect(0, 0, 5100, 2160, dpi).size();
    QCOMPARE(about.size(), client);
    QCOMPARE(about.minimumSize(), client);
    QCOMPARE(about.maximumSize(), client);
    QVERIFY(!about.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!about.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(about.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(about.font().families().value(0), QStringLiteral("Tahoma"));
    QCOMPARE(about.font().pointSizeF(), 8.25);

    // The band is wider than the window and cut off by it.
    QVERIFY(about.picBGHead->geometry().right() > about.rect().right());
    // linBorder: one grey pixel row from (0, 615) to (5760, 615).
    QCOMPARE(about.linBorder->geometry(),
             QRect(0, twipsToPixels(615, dpi), twipsToPixels(5760, dpi), 1));
    QVERIFY(about.linBorder->autoFillBackground());
    QCOMPARE(about.linBorder->palette().color(QPalette::Window), QColor(128, 128, 128));
}

void TestAbout::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");      // text colour; invalid: not checked
    QTest::addColumn<QColor>("background");  // filled background; invalid: transparent
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<QString>("toolTip");

    const QColor none;
    const QString tahoma = QStringLiteral("Tahoma");
    const QString verdana = QStringLiteral("Verdana");
    const QString song = QStringLiteral("宋体");
    // clang-format off
    QTest::newRow("picBGHead: white band")
        << "picBGHead" << QRect(0, 0, 5790, 615) << "" << none << QColor(Qt::white)
        << tahoma << 8.25 << false << false << "";
    QTest::newRow("picBGHeadIcon: key at natural size")
        << "picBGHeadIcon" << QRect(240, 120, 480, 480) << "" << none << QColor(Qt::white)
        << tahoma << 8.25 << false << false << "";
    QTest::newRow("lblBGHeadInfo1: slogan, transparent")
        << "lblBGHeadInfo1" << QRect(960, 240, 3855, 255) << "Corvane－原创、专业、免费、无限制"
        << QColor(Qt::black) << none << song << 9.0 << true << false << kOrganisationPage;
    QTest::newRow("Label2: author caption")
        << "Label2" << QRect(600, 720, 600, 210) << "作 者：" << kRed << none
        << tahoma << 9.0 << false << false << "";
    QTest::newRow("Label7: author, window font")
        << "Label7" << QRect(1320, 720, 540, 195) << QString::fromUtf8(vendor::kAuthorName)
        << kBlue << none << tahoma << 8.25 << false << false << "";
    QTest::newRow("Label3: organisation caption")
        << "Label3" << QRect(600, 1080, 600, 210) << "单 位：" << kRed << none
        << tahoma << 9.0 << false << false << "";
    QTest::newRow("Label9: organisation, underlined")
        << "Label9" << QRect(1320, 1080, 1800, 195) << QString::fromUtf8(vendor::kOrganisation)
        << kBlue << none << tahoma << 8.25 << false << true << kOrganisationPage;
    QTest::newRow("Label5: e-mail caption")
        << "Label5" << QRect(555, 1440, 645, 210) << "E-mail：" << kRed << none
        << tahoma << 9.0 << false << false << "";
    QTest::newRow("lblHomepage: e-mail, not underlined")
        << "lblHomepage" << QRect(1320, 1440, 1950, 180) << QString::fromUtf8(vendor::kAuthorEmail)
        << kBlue << none << verdana << 6.75 << false << false << "";
    QTest::newRow("Label6: download caption")
        << "Label6" << QRect(300, 1800, 900, 210) << "软件下载：" << kRed << none
        << tahoma << 9.0 << false << false << "";
    QTest::newRow("Label4: vendor address, underlined")
        << "Label4" << QRect(1320, 1800, 1395, 180) << QUrl(kHomePage).host()
        << kBlue << none << verdana << 6.75 << false << true << "Corvane";
    QTest::newRow("Command1: button")
        << "Command1" << QRect(3480, 1440, 1335, 375) << "  确  定" << none << none
        << song << 9.0 << false << false << "";
    // clang-format on
}

void TestAbout::controls() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QFETCH(QColor, background);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(bool, underline);
    QFETCH(QString, toolTip);

    aboutfrm about;
    auto* control = about.findChild<QWidget*>(name);
    QVERIFY(control);
    // Inside the band, coordinates read the same as in the window.
    QCOMPARE(QRect(control->mapTo(&about, QPoint(0, 0)), control->size()),
             twipsRect(twips.x(), twips.y(), twips.width(), twips.height(), logicalDpi(&about)));

    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), text);
        QCOMPARE(label->textFormat(), Qt::PlainText);
    } else {
        QCOMPARE(qobject_cast<QPushButton*>(control)->text(), text);
    }
    if (colour.isValid()) {
        QCOMPARE(control->palette().color(QPalette::WindowText), colour);
    }
    QCOMPARE(control->autoFillBackground(), background.isValid());
    if (background.isValid()) {
        QCOMPARE(control->palette().color(QPalette::Window), background);
    }

    const QFont font = control->font();
    QCOMPARE(font.families().value(0), family);
    QCOMPARE(font.pointSizeF(), points);
    QCOMPARE(font.bold(), bold);
    QCOMPARE(font.underline(), underline);
    // A missing face falls back to one that looks alike.
    const QString face = QFontInfo(font).family();
    QVERIFY2(acceptableFaces(family).contains(face), qPrintable(face));
    // No ink of the text is cut off by the control's edge.
    const QRect ink = QFontMetrics(font).tightBoundingRect(text);
    QVERIFY2(ink.x() + ink.width() <= control->width(),
             qPrintable(QStringLiteral("ink ends at %1 px").arg(ink.x() + ink.width())));

    QCOMPARE(control->toolTip(), toolTip);
}

void TestAbout::underlineShows_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("underlined");
    // Label9 mixes Latin and Chinese, whose fallback face is taller than the
    // label's own: the underline must still fall inside the label.
    QTest::newRow("Label9, Latin and Chinese") << "Label9" << true;
    QTest::newRow("Label4") << "Label4" << true;
    QTest::newRow("lblHomepage is not underlined") << "lblHomepage" << false;
}

void TestAbout::underlineShows() {
    QFETCH(QString, name);
    QFETCH(bool, underlined);
    aboutfrm about;
    auto* label = about.findChild<QLabel*>(name);
    QVERIFY(label);
    const QImage image = label->grab().toImage();
    const int textWidth = QFontMetrics(label->font()).horizontalAdvance(label->text());

    // An underline is a row of blue under most of the text.
    int longestRow = 0;
    for (int y = 0; y < image.height(); ++y) {
        int blue = 0;
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.blue() > 160 && pixel.red() < 120 && pixel.green() < 120) {
                ++blue;
            }
        }
        longestRow = qMax(longestRow, blue);
    }
    QCOMPARE(longestRow >= textWidth * 8 / 10, underlined);
}

void TestAbout::handCursor() {
    aboutfrm about;
    for (QWidget* link :
         {static_cast<QWidget*>(about.Label9), static_cast<QWidget*>(about.lblHomepage),
          static_cast<QWidget*>(about.Label4)}) {
        const QCursor cursor = link->cursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.hotSpot(), QPoint(6, 0));
        const QImage shape = cursor.bitmap().toImage();
        const QImage mask = cursor.mask().toImage();
        QCOMPARE(shape.size(), QSize(32, 32));
        // The fingertip is an opaque black pixel.
        QCOMPARE(mask.pixelIndex(6, 0) != 0, true);
        QCOMPARE(QColor(shape.pixel(6, 0)), QColor(Qt::black));
        // Left of it and in the far corner: transparent.
        QCOMPARE(mask.pixelIndex(0, 0), 0);
        QCOMPARE(mask.pixelIndex(31, 31), 0);
    }
    for (QWidget* plain :
         {static_cast<QWidget*>(about.Label7), static_cast<QWidget*>(about.picBGHead)}) {
        QVERIFY(!plain->testAttribute(Qt::WA_SetCursor));
    }
}

void TestAbout::placement_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("position");
    // The window is 340 x 144 pixels (5100 x 2160 twips); left is half the
    // free width, top a third of the free height, both in twips.
    QTest::newRow("1024 x 768") << QSize(1024, 768) << QPoint(342, 208);
    QTest::newRow("1920 x 1080") << QSize(1920, 1080) << QPoint(790, 312);
    QTest::newRow("1023 x 767: halves and thirds round") << QSize(1023, 767) << QPoint(342, 208);
    QTest::newRow("narrower than the window: negative left") << QSize(200, 600) << QPoint(-70, 152);
    QTest::newRow("lower than the window: negative top") << QSize(800, 100) << QPoint(230, -15);
    QTest::newRow("tiny: both negative") << QSize(100, 50) << QPoint(-120, -31);
}

void TestAbout::placement() {
    QFETCH(QSize, screen);
    QFETCH(QPoint, position);
    if (!qFuzzyCompare(logicalDpi(nullptr), 96.0)) {
        QSKIP("positions are worked out for 96 dpi");
    }
    // An earlier opening, moved by the user, is not remembered.
    auto* earlier = new aboutfrm;
    earlier->show();
    earlier->move(5, 5);
    earlier->close();
    delete earlier;

    setScreenSizeForTests(screen);
    aboutfrm about;
    QCOMPARE(about.pos(), position);
    about.show();
    QCOMPARE(about.pos(), position);
}

void TestAbout::links_data() {
    QTest::addColumn<QPoint>("at");  // twips in the window
    QTest::addColumn<QString>("control");
    QTest::addColumn<QList<QUrl>>("urls");

    const QList<QUrl> home{QUrl(kHomePage)};
    QTest::newRow("empty band right of the slogan") << QPoint(5000, 60) << "picBGHead" << home;
    QTest::newRow("empty band left of the icon") << QPoint(100, 300) << "picBGHead" << home;
    QTest::newRow("key icon") << QPoint(480, 360) << "picBGHeadIcon" << home;
    QTest::newRow("slogan") << QPoint(1500, 360) << "lblBGHeadInfo1" << home;
    QTest::newRow("vendor address") << QPoint(1400, 1860) << "Label4" << home;
    QTest::newRow("e-mail address starts a mail")
        << QPoint(1400, 1500) << "lblHomepage"
        << QList<QUrl>{QUrl(QStringLiteral("mailto:") + QString::fromUtf8(vendor::kAuthorEmail))};
    QTest::newRow("organisation opens its page")
        << QPoint(1400, 1130) << "Label9" << QList<QUrl>{QUrl(kOrganisationPage)};
    QTest::newRow("author name opens nothing") << QPoint(1400, 760) << "Label7" << QList<QUrl>{};
    QTest::newRow("caption opens nothing") << QPoint(700, 760) << "Label2" << QList<QUrl>{};
    QTest::newRow("window background opens nothing")
        << QPoint(4000, 1000) << "aboutfrm" << QList<QUrl>{};
}

void TestAbout::links() {
    QFETCH(QPoint, at);
    QFETCH(QString, control);
    QFETCH(QList<QUrl>, urls);

    aboutfrm about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const double dpi = logicalDpi(&about);
    const QPoint point(twipsToPixels(at.x(), dpi), twipsToPixels(at.y(), dpi));
    QWidget* target = about.childAt(point);
    if (!target) {
        target = &about;
    }
    QCOMPARE(target->objectName(), control);

    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&about, point));
    QCOMPARE(opened_.urls, urls);
    QVERIFY(about.isVisible());
}

void TestAbout::command1ClosesTheModalWindow() {
    QPointer<aboutfrm> about = new aboutfrm;
    about->setAttribute(Qt::WA_DeleteOnClose);
    bool wasModal = false;
    QTimer::singleShot(0, about, [&] {
        wasModal = about->isModal() && QApplication::activeModalWidget() == about;
        QTest::mouseClick(about->Command1, Qt::LeftButton);
    });
    about->exec();
    QVERIFY(wasModal);
    QTRY_VERIFY(about.isNull());
}

QTEST_MAIN(TestAbout)
#include "test_aboutfrm.moc"
