#pragma once
// The application object: its notify override is the program's general error box.
#include <QApplication>
#include <exception>

namespace quillon {

class QuillonApplication : public QApplication {
public:
    QuillonApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows an error that left a handler in the general error box; the program carries on.
void reportError(const std::exception& error);

} // namespace quillon
