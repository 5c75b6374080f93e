#pragma once
// A form that can save its window placement and put it back later.
#include <QRect>
#include <QWidget>

namespace quillon {

class TDXForm : public QWidget {
public:
    explicit TDXForm(QWidget* parent = nullptr);
    ~TDXForm() override;
    // Remembers the geometry and the window state (normal, maximised, full screen ...).
    void SaveWindowPlacement();
    // Does nothing when no placement was saved; forgets the saved one. A form that is
    // full screen now comes back to the state and geometry it had.
    void RestoreWindowPlacement();
    bool placementSaved() const { return placementSaved_; }

    // How many of these forms are alive in the program.
    static int liveCount();

private:
    QRect savedGeometry_;
    Qt::WindowStates savedState_;
    bool placementSaved_ = false;
};

} // namespace quillon
