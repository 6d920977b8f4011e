#include "app/qt/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QUrl>

#include "ui/qt/designed_control.h"
#include "ui/qt/placement.h"
#include "ui/qt/twips.h"
#include "ui/vendor.h"
#include "windows/qt/aboutfrm.h"
#include "windows/qt/mctfrm.h"

// The pictures live in a static library, whose resources register only when
// asked to by name, from outside any namespace.
static void registerPictures() {
    Q_INIT_RESOURCE(tendra);
}

namespace tendra {

Form1::Form1(cad::Platform& platform, QWidget* parent)
    : QWidget(parent, tendra::windowFlags(form1Design())),
      module1_(platform, *this),
      commands_(module1_, *this, names_),
      mctTexts_(mctfrm::initialTexts()) {
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
    const ui::WindowDesign& design = form1Design();
    // No picture source: Image1's picture is decoded when the help button
    // first shows it.
    buildDesignedControls(this, design, logicalDpi(this),
                          [](const ui::ControlDesign& control, QWidget* parent) -> QWidget* {
                              switch (control.kind) {
                                  case ui::ControlKind::MultiLineTextBox:
                                      return new OutputBox(parent);
                                  case ui::ControlKind::TextBox:
                                      return new FieldBox(parent);
                                  default:
                                      return plainWidget(control, parent);
                              }
                          });
    bindDesigned(this, Text8, "Text8");
    bindDesigned(this, Text3, "Text3");
    bindDesigned(this, Label3, "Label3");
    bindDesigned(this, Text1, "Text1");
    bindDesigned(this, Label1, "Label1");
    bindDesigned(this, Check1, "Check1");
    bindDesigned(this, Text2, "Text2");
    bindDesigned(this, Label2, "Label2");
    bindDesigned(this, Check2, "Check2");
    bindDesigned(this, Check3, "Check3");
    bindDesigned(this, Label4, "Label4");
    bindDesigned(this, Command3, "Command3");
    bindDesigned(this, Command1, "Command1");
    bindDesigned(this, Command6, "Command6");
    bindDesigned(this, Command5, "Command5");
    bindDesigned(this, Command2, "Command2");
    bindDesigned(this, Command4, "Command4");
    bindDesigned(this, Label5, "Label5");
    bindDesigned(this, Label6, "Label6");
    bindDesigned(this, Combo1, "Combo1");
    bindDesigned(this, Command7, "Command7");
    bindDesigned(this, Image1, "Image1");

    Text8->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab leaves the box, as in the other fields; the table has no use for a typed tab.
    Text8->setTabChangesFocus(true);

    // With no caption the status label is not shown at all.
    Label4->hide();

    Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The picture is decoded when the help button first shows it.
    Image1->setScaledContents(true);

    // The designed instructions rectangle runs into the picture's; the text
    // stays on top, so its last line is never cut off by the picture.
    Label5->raise();

    tendra::setTabOrder(tabOrder(this, design));

    connect(Check1, &QCheckBox::toggled, Check3, &QWidget::setEnabled);
    connect(Check2, &QCheckBox::toggled, Text2, &QWidget::setEnabled);
    connect(Command3, &QPushButton::clicked, this, [this] { commands_.initialiseOrigin(); });
    connect(Command1, &QPushButton::clicked, this, [this] { commands_.pickNodes(); });
    connect(Command4, &QPushButton::clicked, this, [this] { commands_.extractPolylineNodes(); });
    connect(Command2, &QPushButton::clicked, this, &Form1::exitProgram);
    connect(Command5, &QPushButton::clicked, this, &Form1::showMoreSoftware);
    connect(Command6, &QPushButton::clicked, this, &Form1::toggleInstructions);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &Form1::outputFormatChosen);
    connect(Command7, &QPushButton::clicked, this, &Form1::askMctParameters);
}

void Form1::Form_Load() {
    CenterForm1(this);
    Label5->setText(QString::fromStdString(instructionsText()));
    // The window gives it the focus when it is first activated.
    Text8->setFocus();
}

void Form1::CenterForm1(QWidget* frm) {
    placeOnScreen(frm, Across::Centre, Precision::Double);
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
    if (Image1->pixmap().isNull()) {
        Image1->setPixmap(QPixmap(QStringLiteral(":/tendra/image1.png")));
    }
    setClientHeightFromOuter(helpOuterHeightTwips(helpClickCount_));
}

// Combo1's entries stand in the order of OutputFormat: "节点表", "midas MCT".
void Form1::outputFormatChosen(int index) {
    if (index != static_cast<int>(OutputFormat::MidasMct)) {
        return;
    }
    if (!askMctParameters() && !mctParameters_) {
        Combo1->setCurrentIndex(static_cast<int>(OutputFormat::NodeTable));
    }
}

bool Form1::askMctParameters() {
    mctfrm parameters(mctTexts_, this);
    if (parameters.exec() != QDialog::Accepted) {
        return false;
    }
    mctTexts_ = parameters.texts();
    mctParameters_ = parameters.parameters();
    return true;
}

OutputFormat Form1::outputFormat() {
    return Combo1->currentIndex() == static_cast<int>(OutputFormat::MidasMct)
               ? OutputFormat::MidasMct
               : OutputFormat::NodeTable;
}

MctParameters Form1::mctParameters() {
    return mctParameters_.value_or(MctParameters{});
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

namespace {

// A box shown while the program is busy shows the normal cursor over it.
class NormalCursorOverBox {
  public:
    explicit NormalCursorOverBox(bool busy) : pushed_(busy) {
        if (pushed_) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        }
    }
    ~NormalCursorOverBox() {
        if (pushed_) {
            QApplication::restoreOverrideCursor();
        }
    }
    NormalCursorOverBox(const NormalCursorOverBox&) = delete;
    NormalCursorOverBox& operator=(const NormalCursorOverBox&) = delete;

  private:
    bool pushed_;
};

}  // namespace

void Form1::setBusy(bool busy) {
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void Form1::showMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    const NormalCursorOverBox cursor(busy_);
    const QMessageBox::Icon shown = icon == MessageIcon::Stop          ? QMessageBox::Critical
                                    : icon == MessageIcon::Information ? QMessageBox::Information
                                                                       : QMessageBox::NoIcon;
    QMessageBox box(shown, QString::fromStdString(title.empty() ? kApplicationTitle : title),
                    QString::fromStdString(text), QMessageBox::Ok, this);
    box.exec();
}

bool Form1::askYesNo(const std::string& text, const std::string& title) {
    const NormalCursorOverBox cursor(busy_);
    QMessageBox box(QMessageBox::Question,
                    QString::fromStdString(title.empty() ? kApplicationTitle : title),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, this);
    // The question names its answers "是" and "否": the buttons say the same,
    // whatever language Qt itself speaks.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否"));
    // Esc and the close button answer No.
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace tendra
