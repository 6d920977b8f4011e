#include "app/qt/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QUrl>

#include "ui/qt/fonts.h"
#include "ui/qt/placement.h"
#include "ui/qt/twips.h"
#include "ui/vendor.h"
#include "windows/qt/aboutfrm.h"

// The pictures live in a static library, whose resources register only when
// asked to by name, from outside any namespace.
static void registerPictures() {
    Q_INIT_RESOURCE(tendra);
}

namespace tendra {

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

// The text colour of labels and check boxes. A disabled control keeps the
// palette's greyed text.
void setTextColour(QWidget* control, const QColor& colour) {
    QPalette palette = control->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, colour);
        palette.setColor(group, QPalette::ButtonText, colour);
        palette.setColor(group, QPalette::Text, colour);
    }
    control->setPalette(palette);
}

template <class Control>
Control* makeControl(QWidget* parent, const char* name) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

}  // namespace

Form1::Form1(cad::Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      module1_(platform, *this),
      commands_(module1_, *this, names_) {
    registerPictures();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(kMainWindowCaption));
    // Through QPixmap, whose cache keeps the decoded picture for the next window.
    setWindowIcon(QIcon(QPixmap(QStringLiteral(":/tendra/tendra.png"))));
    setFixedSize(
        twipsRect(0, 0, kClientWidthTwips, kCompactClientHeightTwips, logicalDpi(this)).size());
    createControls();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::createControls() {
    Text8 = makeControl<OutputBox>(this, "Text8");
    place(Text8, 1920, 120, 4335, 4815);
    Text8->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab leaves the box, as in the other fields; the table has no use for a typed tab.
    Text8->setTabChangesFocus(true);

    Text3 = makeControl<FieldBox>(this, "Text3");
    Text3->setText(QStringLiteral("1"));
    place(Text3, 1080, 240, 615, 270);

    Label3 = makeControl<QLabel>(this, "Label3");
    Label3->setText(QStringLiteral("缩放因子"));
    setTextColour(Label3, kBlue);
    placeSizedToText(Label3, 240, 285);

    Text1 = makeControl<FieldBox>(this, "Text1");
    Text1->setText(QStringLiteral("3"));
    place(Text1, 1080, 600, 615, 270);

    Label1 = makeControl<QLabel>(this, "Label1");
    Label1->setText(QStringLiteral("小数位数"));
    setTextColour(Label1, kBlue);
    placeSizedToText(Label1, 240, 645);

    Check1 = makeControl<QCheckBox>(this, "Check1");
    Check1->setText(QStringLiteral("对称"));
    Check1->setChecked(true);
    setTextColour(Check1, kBlue);
    place(Check1, 240, 960, 735, 255);

    Text2 = makeControl<FieldBox>(this, "Text2");
    Text2->setText(QStringLiteral("15"));
    place(Text2, 1080, 1320, 615, 270);

    Label2 = makeControl<QLabel>(this, "Label2");
    Label2->setText(QStringLiteral("半径"));
    setTextColour(Label2, kBlue);
    placeSizedToText(Label2, 600, 1365);

    Check2 = makeControl<QCheckBox>(this, "Check2");
    Check2->setText(QStringLiteral("半径"));
    Check2->setChecked(true);
    setTextColour(Check2, kBlue);
    place(Check2, 1080, 960, 735, 255);

    Check3 = makeControl<QCheckBox>(this, "Check3");
    Check3->setText(QStringLiteral("对称含最后节点"));
    setTextColour(Check3, kBlue);
    place(Check3, 240, 2760, 1575, 255);

    // In the designed layout the status label lies under the output box.
    // Raised above it, with an opaque background, it stays legible over the
    // table; with no caption it is not shown at all.
    Label4 = makeControl<QLabel>(this, "Label4");
    setTextColour(Label4, kRed);
    Label4->setBackgroundRole(QPalette::Base);
    Label4->setAutoFillBackground(true);
    placeSizedToText(Label4, 2805, 3840);
    Label4->hide();

    // "宋体" 9 pt, regular, with a CJK Song face standing in where it is missing.
    const QFont font = designedFont(QStringLiteral("宋体"), 9);
    const auto makeButton = [&](const char* name, const QString& caption, int top) {
        auto* button = makeControl<QPushButton>(this, name);
        button->setText(caption);
        button->setFont(font);
        place(button, 360, top, 1335, 375);
        return button;
    };
    Command3 = makeButton("Command3", QStringLiteral("  初始化原点"), 1800);
    Command1 = makeButton("Command1", QStringLiteral("  点取节点"), 2280);
    Command6 = makeButton("Command6", QStringLiteral("  帮  助"), 4080);
    Command5 = makeButton("Command5", QStringLiteral("  更多软件"), 3600);
    Command2 = makeButton("Command2", QStringLiteral("  退  出"), 4560);
    Command4 = makeButton("Command4", QStringLiteral("  自动获取节点"), 3120);
    Command1->setEnabled(false);
    Command4->setEnabled(false);

    Label5 = makeControl<QLabel>(this, "Label5");
    Label5->setWordWrap(true);
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(Label5, 360, 5280, 5895, 1695);

    Image1 = makeControl<QLabel>(this, "Image1");
    Image1->setPixmap(QPixmap(QStringLiteral(":/tendra/image1.png")));
    Image1->setScaledContents(true);
    place(Image1, 240, 6840, 6135, 960);

    // The designed instructions rectangle runs into the picture's; the text
    // stays on top, so its last line is never cut off by the picture.
    Label5->raise();
    Label4->raise();

    QWidget* const tabOrder[] = {Text8,    Text3,    Text1,    Check1,   Text2,    Check2,  Check3,
                                 Command3, Command1, Command6, Command5, Command2, Command4};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }

    connect(Check1, &QCheckBox::toggled, Check3, &QWidget::setEnabled);
    connect(Check2, &QCheckBox::toggled, Text2, &QWidget::setEnabled);
    connect(Command3, &QPushButton::clicked, this, [this] { commands_.initialiseOrigin(); });
    connect(Command1, &QPushButton::clicked, this, [this] { commands_.pickNodes(); });
    connect(Command4, &QPushButton::clicked, this, [this] { commands_.extractPolylineNodes(); });
    connect(Command2, &QPushButton::clicked, this, &Form1::exitProgram);
    connect(Command5, &QPushButton::clicked, this, &Form1::showMoreSoftware);
    connect(Command6, &QPushButton::clicked, this, &Form1::toggleInstructions);
}

void Form1::Form_Load() {
    CenterForm1(this);
    Label5->setText(QString::fromStdString(instructionsText()));
    // The window gives it the focus when it is first activated.
    Text8->setFocus();
}

void Form1::place(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(twipsRect(left, top, width, height, logicalDpi(this)));
}

void Form1::placeSizedToText(QLabel* label, int left, int top) {
    const double dpi = logicalDpi(this);
    label->move(twipsToPixels(left, dpi), twipsToPixels(top, dpi));
    label->adjustSize();
}

void Form1::CenterForm1(QWidget* frm) {
    const QScreen* screen = frm->screen();
    if (!screen) {
        return;
    }
    const QRect area = screen->geometry();
    const double twipsPerPixel = kTwipsPerInch / logicalDpi(frm);
    CenterForm1(frm, QSizeF(area.width(), area.height()) * twipsPerPixel, area.topLeft());
}

void Form1::CenterForm1(QWidget* frm, const QSizeF& screenTwips, const QPoint& origin) {
    const double dpi = logicalDpi(frm);
    const QSizeF outer = QSizeF(frm->frameGeometry().size()) * (kTwipsPerInch / dpi);
    const TopLeft<double> at = placedTopLeft(screenTwips.width(), screenTwips.height(),
                                             outer.width(), outer.height(), Across::Centre);
    frm->move(origin + QPoint(twipsToPixels(at.left, dpi), twipsToPixels(at.top, dpi)));
}

bool Form1::WriteNodeTable(const std::vector<Node>& nodes, double scale) {
    const cad::Point& origin = commands_.origin();
    return tendra::WriteNodeTable(*this, nodes, scale, origin[0], origin[1]);
}

void Form1::exitProgram() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    QCoreApplication::exit(0);
}

void Form1::showMoreSoftware() {
    // Whether a browser could be started is not reported: the about window
    // comes up either way.
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(vendor::kHomePage)));
    aboutfrm about(this);
    about.exec();
}

void Form1::toggleInstructions() {
    helpClickCount_ = nextHelpClickCount(helpClickCount_);
    setClientHeightFromOuter(helpOuterHeightTwips(helpClickCount_));
}

void Form1::setClientHeightFromOuter(int outerTwips) {
    // The title bar and border are whatever the window manager gave the window.
    const int frameHeight = frameGeometry().height() - geometry().height();
    const int clientHeight = twipsToPixels(outerTwips, logicalDpi(this)) - frameHeight;
    setFixedSize(width(), clientHeight);
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    exitProgram();
}

std::string Form1::fieldText(Field field) {
    switch (field) {
        case Field::Text1:
            return Text1->text().toStdString();
        case Field::Text2:
            return Text2->text().toStdString();
        case Field::Text3:
            return Text3->text().toStdString();
    }
    return {};
}

bool Form1::optionTicked(Option option) {
    switch (option) {
        case Option::Check1:
            return Check1->isChecked();
        case Option::Check2:
            return Check2->isChecked();
        case Option::Check3:
            return Check3->isChecked();
    }
    return false;
}

std::string Form1::decimalSeparator() {
    return QLocale::system().decimalPoint().toStdString();
}

void Form1::setOutputText(const std::string& text) {
    Text8->setPlainText(QString::fromStdString(text));
}

void Form1::setStatusText(const std::string& text) {
    Label4->setText(QString::fromStdString(text));
    Label4->adjustSize();
    Label4->setVisible(!text.empty());
}

void Form1::enableNodeButtons() {
    Command1->setEnabled(true);
    Command4->setEnabled(true);
}

void Form1::showMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromStdString(title.empty() ? kApplicationTitle : title),
                    QString::fromStdString(text), QMessageBox::Ok, this);
    box.exec();
}

}  // namespace tendra
