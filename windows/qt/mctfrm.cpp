#include "windows/qt/mctfrm.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "ui/qt/designed_control.h"
#include "ui/qt/twips.h"
#include "windows/mctfrm_design.h"

namespace tendra {

mctfrm::mctfrm(const MctFieldTexts& texts, QWidget* parent)
    : QDialog(parent, tendra::windowFlags(mctfrmDesign())) {
    const ui::WindowDesign& design = mctfrmDesign();
    setObjectName(QString::fromUtf8(design.name));
    setWindowTitle(QString::fromUtf8(design.caption));
    const double dpi = logicalDpi(this);
    setFixedSize(twipsRect(0, 0, design.clientWidth, design.clientHeight, dpi).size());
    buildDesignedControls(this, design, dpi);
    bindDesigned(this, Label1, "Label1");
    bindDesigned(this, Text1, "Text1");
    bindDesigned(this, Label2, "Label2");
    bindDesigned(this, Text2, "Text2");
    bindDesigned(this, Label3, "Label3");
    bindDesigned(this, Text3, "Text3");
    bindDesigned(this, Label4, "Label4");
    bindDesigned(this, Text4, "Text4");
    bindDesigned(this, Command1, "Command1");
    bindDesigned(this, Command2, "Command2");
    tendra::setTabOrder(tabOrder(this, design));

    Text1->setText(QString::fromStdString(texts.property));
    Text2->setText(QString::fromStdString(texts.elements));
    Text3->setText(QString::fromStdString(texts.group));
    Text4->setText(QString::fromStdString(texts.insertion));
    connect(Command1, &QPushButton::clicked, this, &mctfrm::acceptFields);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    Text1->setFocus();

    // Over the middle of its owner, where the user was looking.
    if (parent) {
        const QRect owner = parent->frameGeometry();
        move(owner.center() - QPoint(width() / 2, height() / 2));
    }
}

MctFieldTexts mctfrm::initialTexts() {
    return {"", "", "", kInitialInsertionPoint};
}

MctFieldTexts mctfrm::texts() const {
    return {Text1->text().toStdString(), Text2->text().toStdString(), Text3->text().toStdString(),
            Text4->text().toStdString()};
}

QLineEdit* mctfrm::fieldBox(MctField field) const {
    switch (field) {
        case MctField::Property:
            return Text1;
        case MctField::Elements:
            return Text2;
        case MctField::Group:
            return Text3;
        case MctField::Insertion:
            return Text4;
    }
    return Text1;
}

void mctfrm::acceptFields() {
    const MctCheck check = checkMctFields(texts());
    if (check.error) {
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        QString::fromStdString(check.error->message), QMessageBox::Ok, this);
        box.exec();
        QLineEdit* wrong = fieldBox(check.error->field);
        wrong->setFocus();
        wrong->selectAll();
        return;
    }
    parameters_ = check.parameters;
    accept();
}

}  // namespace tendra
