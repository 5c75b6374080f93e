#include "platform/dxform.h"

namespace quillon {

namespace {
QRect saved;
bool hasSaved = false;
} // namespace

TDXForm::TDXForm(QWidget* parent) : QWidget(parent) {}
TDXForm::~TDXForm() = default;
void TDXForm::SaveWindowPlacement() {
    saved = geometry();
    hasSaved = true;
}
void TDXForm::RestoreWindowPlacement() {
    if (!hasSaved)
        return;
    showNormal();
    setGeometry(saved);
    hasSaved = false;
}

} // namespace quillon
