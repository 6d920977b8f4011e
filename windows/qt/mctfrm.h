// The midas MCT parameters window: the tendon property, the elements, the
// tendon group and the insertion point. "确定" checks the fields and closes
// only when all of them are valid; "取消", Esc and the close button leave
// without accepting anything.
#pragma once

#include <QDialog>

#include "nodes/mct_parameters.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tendra {

class mctfrm : public QDialog {
    Q_OBJECT
  public:
    // Builds the window over its owner, its fields holding these texts. Show
    // it with exec(); every opening builds a new window.
    explicit mctfrm(const MctFieldTexts& texts, QWidget* parent = nullptr);

    // The fields as typed.
    MctFieldTexts texts() const;
    // The parameters read from the fields when "确定" closed the window.
    const MctParameters& parameters() const { return parameters_; }

    // The fields' texts the window first shows: an empty form with the
    // insertion point at the origin.
    static MctFieldTexts initialTexts();

    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label2;
    QLineEdit* Text2;
    QLabel* Label3;
    QLineEdit* Text3;
    QLabel* Label4;
    QLineEdit* Text4;
    QPushButton* Command1;
    QPushButton* Command2;

  private:
    // Command1: closes with the parameters, or says which field is wrong and
    // why and puts the focus there.
    void acceptFields();
    QLineEdit* fieldBox(MctField field) const;

    MctParameters parameters_;
};

}  // namespace tendra
