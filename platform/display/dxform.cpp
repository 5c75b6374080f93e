#include "platform/display/dxform.h"

namespace quillon {

namespace {
int liveForms = 0;
} // namespace

TDXForm::TDXForm(QWidget* parent) : QWidget(parent) {
    ++liveForms;
}
TDXForm::~TDXForm() {
    --liveForms;
}

int TDXForm::liveCount() {
    return liveForms;
}

void TDXForm::SaveWindowPlacement() {
    // A hidden form's geometry is where it will appear.
    savedGeometry_ = windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized) ? normalGeometry()
                                                                                  : geometry();
    if (!savedGeometry_.isValid())
        savedGeometry_ = geometry();
    savedState_ = windowState();
    placementSaved_ = true;
}

void TDXForm::RestoreWindowPlacement() {
    if (!placementSaved_)
        return;
    placementSaved_ = false;
    const Qt::WindowStates state = savedState_ & ~Qt::WindowActive;
    if (!isVisible()) {
        setWindowState(state);
    } else if (state & Qt::WindowFullScreen) {
        showFullScreen();
    } else if (state & Qt::WindowMaximized) {
        showMaximized();
    } else if (state & Qt::WindowMinimized) {
        showMinimized();
    } else {
        showNormal();
    }
    if (!(state & (Qt::WindowFullScreen | Qt::WindowMaximized)))
        setGeometry(savedGeometry_);
}

} // namespace quillon
