#include "platform/core/error.h"

namespace quillon {

Exception::Exception(QString message)
    : message_(std::move(message)), utf8_(message_.toStdString()) {}

QString formatMessage(const QString& pattern, std::initializer_list<QString> args) {
    QString out;
    auto next = args.begin();
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == u's' || pattern[i + 1] == u'd') && next != args.end()) {
            out += *next++;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QChar(u'.'))
        return message + u'.';
    return message;
}

} // namespace quillon
