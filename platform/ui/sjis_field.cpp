#include "platform/ui/sjis_field.h"

#include "platform/core/services.h"
#include "platform/text/sjis.h"
#include "platform/ui/prompts.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>

namespace quillon {

namespace {

// The part of input that an edit put in place of some of before: what lies between
// their common beginning and their common end.
QString insertedPart(const QString& before, const QString& input) {
    qsizetype head = 0;
    const qsizetype shorter = std::min(before.size(), input.size());
    while (head < shorter && before[head] == input[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == input[input.size() - 1 - tail])
        ++tail;
    return input.mid(head, input.size() - head - tail);
}

// A character as the notice shows it: invisible ones by their code point.
QString shown(const QString& character) {
    const char32_t code = character.toUcs4().value(0);
    if (QChar::isPrint(code) && !QChar::isSpace(code))
        return character;
    return QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString leftOutNotice(const QString& leftOut) {
    constexpr int MaxNamed = 8;
    QStringList named;
    bool more = false;
    for (qsizetype i = 0; i < leftOut.size();) {
        const qsizetype n = leftOut[i].isHighSurrogate() && i + 1 < leftOut.size() ? 2 : 1;
        const QString character = shown(leftOut.mid(i, n));
        i += n;
        if (named.contains(character))
            continue;
        if (named.size() == MaxNamed) {
            more = true;
            break;
        }
        named.append(character);
    }
    return QCoreApplication::translate("ShiftJisField",
                                       "Shift-JIS で表せない文字「%1%2」を除きました。")
        .arg(named.join(QCoreApplication::translate("ShiftJisField", "、")),
             more ? QStringLiteral("…") : QString());
}

ShiftJisValidator::ShiftJisValidator(QLineEdit* field)
    : QValidator(field), field_(field), accepted_(field->text()) {}

QValidator::State ShiftJisValidator::validate(QString& input, int& pos) const {
    QString leftOut;
    const QString kept = sjis::representablePart(input, &leftOut);
    if (leftOut.isEmpty()) {
        accepted_ = input;
        return Acceptable;
    }
    // The program's own filling of the field (a decoded text whose bytes were not
    // Shift-JIS) is cleaned quietly; only the user's edits are answered.
    const bool byUser = field_->hasFocus();
    if (byUser && sjis::representablePart(insertedPart(accepted_, input)).isEmpty()) {
        // Nothing of the edit can be kept: the field undoes it, as for a refused key.
        prompts().beep();
        return Invalid;
    }
    pos -= int(input.left(pos).size() - sjis::representablePart(input.left(pos)).size());
    input = kept;
    accepted_ = kept;
    if (byUser) {
        // After the edit has finished: a box must not open inside the field's own change.
        QPointer<QLineEdit> field = field_;
        const QString notice = leftOutNotice(leftOut);
        QMetaObject::invokeMethod(
            field_,
            [field, notice] {
                if (field)
                    prompts().tellOk(field->window(), notice);
            },
            Qt::QueuedConnection);
    }
    return Acceptable;
}

void guardShiftJisField(QLineEdit* field) {
    field->setValidator(new ShiftJisValidator(field));
}

} // namespace quillon
