#include "about/about_form.h"

#include "platform/core/product.h"
#include "platform/text/sjis.h"
#include "platform/ui/cursors.h"
#include "platform/ui/fonts.h"
#include "platform/ui/picture_button.h"
#include "ui_about_form.h"

#include <QCloseEvent>
#include <QEvent>
#include <QIcon>
#include <QPushButton>
#include <QScreen>

namespace quillon {

namespace {
const QColor Maroon(0x80, 0x00, 0x00);
const QString IconResource = QStringLiteral(":/pictures/icon.png");

} // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::AboutForm>()) {
    ui_->setupUi(this);
    OkButton = ui_->OkButton;
    EmblemFrame = ui_->EmblemFrame;
    AboutImage = ui_->AboutImage;
    CopyrightLabel = ui_->CopyrightLabel;

    createParams();
    ui_->TitleLabel->setFont(interfaceFont(27, true));
    ui_->SubtitleLabel->setFont(interfaceFont(12, true));
    QPalette subtitlePalette = ui_->SubtitleLabel->palette();
    subtitlePalette.setColor(QPalette::WindowText, Maroon);
    ui_->SubtitleLabel->setPalette(subtitlePalette);
    CopyrightLabel->setFont(interfaceFont(16, true));
    OkButton->setFont(interfaceFont(12, false));

    // The icon's 32 × 32 picture on white, stretched to the box. Without the picture
    // the box stays white.
    QPalette imagePalette = AboutImage->palette();
    imagePalette.setColor(QPalette::Window, Qt::white);
    AboutImage->setPalette(imagePalette);
    const QPixmap picture = QIcon(IconResource).pixmap(32, 32);
    if (!picture.isNull())
        AboutImage->setPixmap(picture);
    AboutImage->OnDblClick = [this] { AboutImageDblClick(); };

    connect(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
    if (QScreen* screen = this->screen())
        move(screen->geometry().center() - rect().center());
    OkButton->setFocus();
    FormCreate();
}

TAboutForm::~TAboutForm() = default;

// A window of its own (its own taskbar button while shown) with only the system menu
// and the close box.
void TAboutForm::createParams() {
    setUpFixedWindow(*this, QSize(294, 121), interfaceFont(12, true));
}

void TAboutForm::FormCreate() {
    const QCursor bullet = programCursor(1);
    OkButton->setCursor(bullet);
    AboutImage->setCursor(bullet);
}

QByteArray TAboutForm::copyrightLine() const {
    return sjis::fromUnicode(CopyrightLabel->text());
}

void TAboutForm::playClickCue() {
    if (clickCue)
        clickCue();
}

void TAboutForm::OkButtonClick() {
    playClickCue();
    if (showMainWindow)
        showMainWindow();
    close();
}

void TAboutForm::FormClose() {
    playClickCue();
    if (showMainWindow)
        showMainWindow();
}

void TAboutForm::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    QDialog::done(QDialog::Accepted);
}

void TAboutForm::reject() {} // Esc does nothing: the box has no cancel button

void TAboutForm::AboutImageDblClick() {
    playClickCue();
    if (runCard)
        runCard(sjis::fromUnicode(productName()), copyrightLine());
}

} // namespace quillon
