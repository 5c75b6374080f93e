#pragma once
// A form that can save its window placement and put it back later.
#include <QWidget>

namespace quillon {

class TDXForm : public QWidget {
public:
    explicit TDXForm(QWidget* parent = nullptr);
    ~TDXForm() override;
    void SaveWindowPlacement();
    // Does nothing when no placement was saved; forgets the saved one.
    void RestoreWindowPlacement();
};

} // namespace quillon
