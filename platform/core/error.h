#pragma once
// The program's error base class: every error is an exception carrying a message
// that the general error box shows.
#include <QString>
#include <exception>
#include <initializer_list>
#include <string>

namespace quillon {

class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

// Fills "%s" and "%d" placeholders in order, the way the messages are written.
QString formatMessage(const QString& pattern, std::initializer_list<QString> args);

// The text the general error box shows: a full stop is appended when the message's
// last character sorts after ".".
QString errorBoxText(const QString& message);

} // namespace quillon
