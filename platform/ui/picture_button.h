#pragma once
// A small picture that acts as a button.
#include <QLabel>
#include <functional>

namespace quillon {

class PictureButton : public QLabel {
public:
    explicit PictureButton(QWidget* parent = nullptr) : QLabel(parent) {}
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace quillon

namespace quillon {
// A picture whose bottom-left pixel colour is drawn transparent.
QPixmap transparentPicture(const QString& resource);
} // namespace quillon
