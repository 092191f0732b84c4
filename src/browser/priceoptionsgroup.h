#pragma once

#include "pricerules.h"

#include <QGroupBox>

class QLabel;
class QLineEdit;
class QToolButton;

namespace loomscope {

class UserMessages;

// The price options above the design list (caption "统计选项"): a start stitch count with its
// fee, and three stitch-count ranges with their unit prices. Count fields take digits only,
// price fields digits and a decimal mark. Leaving a count field fills it with "0" when empty
// and copies it into the next range's lower bound; an upper bound below its lower bound
// becomes the lower bound. The values live in the fields only, for the run of the program.
class PriceOptionsGroup : public QGroupBox {
    Q_OBJECT
public:
    PriceOptionsGroup(UserMessages& messages, char decimalSeparator, QWidget* parent = nullptr);

    // The fields' texts as they stand (the leave-field rules have not run on a field that
    // still has the focus).
    PriceFields fields() const;
    // The report button, off while the list is still being filled.
    void setReportEnabled(bool enabled);

signals:
    void reportRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitNote();
    QLabel* note_ = nullptr; // the red note beside the fields
    int extra_ = 0;          // height added for the note in a narrow window
    QLineEdit* addField(const char* name, bool decimal, bool mirror = false);
    void leaveField(QLineEdit* field);
    void leaveUpperBound(QLineEdit* upper, QLineEdit* lower, QLineEdit* nextLower);

    UserMessages& messages_;
    char separator_;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    QLineEdit* Edit8;
    QLineEdit* Edit9;
    QLineEdit* Edit10;
    QLineEdit* Edit11;
    QLineEdit* Edit12;
    QLineEdit* Edit13;
    QLineEdit* Edit14;
    QToolButton* SpeedButton8;
    QToolButton* SpeedButton6;
};

} // namespace loomscope
