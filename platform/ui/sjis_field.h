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

// Gives the field a ShiftJisValidator, and follows what an input method composes in it.
void guardShiftJisField(QLineEdit* field);

// An input method's open composition is shown in the field but is not yet part of its
// text. Settling commits it, as a click in the field would, so that whatever reads or
// clears the field next acts on what the field shows, and the composition does not land
// later in what the field holds by then. Only a guarded field is followed.
void settleComposition(QLineEdit* field);
bool hasOpenComposition(const QLineEdit* field);

// The notice for characters left out of an edit, each named once (at most eight).
QString leftOutNotice(const QString& leftOut);

} // namespace quillon
