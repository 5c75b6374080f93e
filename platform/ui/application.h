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

// Whether the application is the active one; tests may pin the answer.
bool isApplicationActive();
void setApplicationActiveForTesting(int state); // -1: ask the platform, 0: inactive, 1: active

} // namespace quillon
