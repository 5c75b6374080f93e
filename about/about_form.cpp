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
const QColor maroon(0x80, 0x00, 0x00);
const QString iconResource = QStringLiteral(":/pictures/icon.png");

} // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::AboutForm>()) {
    ui->setupUi(this);
    OkButton = ui->OkButton;
    EmblemFrame = ui->EmblemFrame;
    AboutImage = ui->AboutImage;
    CopyrightLabel = ui->CopyrightLabel;

    CreateParams();
    ui->TitleLabel->setFont(interfaceFont(27, true));
    ui->SubtitleLabel->setFont(interfaceFont(12, true));
    QPalette subtitlePalette = ui->SubtitleLabel->palette();
    subtitlePalette.setColor(QPalette::WindowText, maroon);
    ui->SubtitleLabel->setPalette(subtitlePalette);
    CopyrightLabel->setFont(interfaceFont(16, true));
    OkButton->setFont(interfaceFont(12, false));

    // The icon's 32 × 32 picture on white, stretched to the box. Without the picture
    // the box stays white.
    QPalette imagePalette = AboutImage->palette();
    imagePalette.setColor(QPalette::Window, Qt::white);
    AboutImage->setPalette(imagePalette);
    const QPixmap picture = QIcon(iconResource).pixmap(32, 32);
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
void TAboutForm::CreateParams() {
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

void TAboutForm::clickCue() {
    if (ClickCue)
        ClickCue();
}

void TAboutForm::OkButtonClick() {
    clickCue();
    if (ShowMainWindow)
        ShowMainWindow();
    close();
}

void TAboutForm::FormClose() {
    clickCue();
    if (ShowMainWindow)
        ShowMainWindow();
}

void TAboutForm::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    QDialog::done(QDialog::Accepted);
}

void TAboutForm::reject() {} // Esc does nothing: the box has no cancel button

void TAboutForm::AboutImageDblClick() {
    clickCue();
    if (RunCard)
        RunCard(sjis::fromUnicode(ProductName()), copyrightLine());
}

} // namespace quillon
