#pragma once
// A line field that only ever holds text Shift-JIS can store. A typed character without
// a Shift-JIS form is refused with a beep, as a number field refuses a letter; pasted or
// dropped text keeps the part that has a form, and a notice names what was left out.
#include <QString>
#include <QValidator>

class QLineEdit;

namespace quillon {

class ShiftJisValidator : public QValidator {
public:
    explicit ShiftJisValidator(QLineEdit* field);
    State validate(QString& input, int& pos) const override;

private:
    QLineEdit* field_;
    // The text as it stood before the edit being validated.
    mutable QString accepted_;
};

// Gives the field a ShiftJisValidator.
void guardShiftJisField(QLineEdit* field);

// The notice for characters left out of an edit, each named once (at most eight).
QString leftOutNotice(const QString& leftOut);

} // namespace quillon
