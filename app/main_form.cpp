#include "app/main_form.h"

#include "app/ambience.h"
#include "app/export/card_source.h"
#include "app/export/export_controller.h"
#include "app/user_subtitles.h"
#include "platform/core/product.h"
#include "platform/core/random.h"
#include "platform/core/services.h"
#include "platform/text/sjis.h"
#include "platform/ui/cursors.h"
#include "platform/ui/fonts.h"
#include "platform/ui/picture_button.h"
#include "platform/ui/sjis_field.h"
#include "presentation/disp_form.h"
#include "settings/option_form.h"
#include "subtitles/subtitle_choice.h"
#include "subtitles/subtitle_combo.h"
#include "ui_main_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPaintEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace quillon {

namespace {
QString catalogueCaption() {
    return QCoreApplication::translate("TMainForm", "　↓　オリジナルサブタイトルの一覧");
}

// What an input method still composes in a line counts as typed: an action that reads or
// clears the lines acts on what they show, and nothing lands in them afterwards.
void settleLines(TMainForm& form) {
    settleComposition(form.Edit1);
    settleComposition(form.Edit2);
}
} // namespace

QString TMainForm::userListPlaceholder() {
    return QCoreApplication::translate("TMainForm", "　↓　ユーザー定義サブタイトル一覧");
}

TMainForm::TMainForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::MainForm>()) {
    ui_->setupUi(this);
    RunButton = ui_->RunButton;
    Edit1 = ui_->Edit1;
    Edit2 = ui_->Edit2;
    Label2 = ui_->Label2;
    Label3 = ui_->Label3;
    Label1 = ui_->Label1;
    TsrButton = ui_->TsrButton;
    OptionButton = ui_->OptionButton;
    AboutButton = ui_->AboutButton;
    ComboBox1 = ui_->ComboBox1;
    DiceImage = ui_->DiceImage;
    ErasorImage = ui_->ErasorImage;
    ComboBox2 = ui_->ComboBox2;
    PencilImage = ui_->PencilImage;

    setWindowTitle(productName());
    setUpFixedWindow(*this, QSize(277, 225));
    Label1->setFont(interfaceFont(16, true));
    RunButton->setDefault(true);
    guardShiftJisField(Edit1);
    guardShiftJisField(Edit2);

    ComboBox1->setText(catalogueCaption());
    ComboBox2->setText(userListPlaceholder());
    ComboBox1->OnChange = [this] { ComboBox1Change(); };
    ComboBox2->OnChange = [this] { ComboBox2Change(); };
    ComboBox1->OnDropDown = [this] { ComboBox1DropDown(); };
    ComboBox2->OnDropDown = [this] { ComboBox2DropDown(); };

    DiceImage->setPixmap(transparentPicture(QStringLiteral(":/pictures/dice.png")));
    ErasorImage->setPixmap(transparentPicture(QStringLiteral(":/pictures/eraser.png")));
    PencilImage->setPixmap(transparentPicture(QStringLiteral(":/pictures/pencil.png")));
    DiceImage->OnClick = [this] { DiceImageClick(); };
    ErasorImage->OnClick = [this] { ErasorImageClick(); };
    PencilImage->OnClick = [this] { PencilImageClick(); };

    UserEditPopupMenu = new QMenu(this);
    UserTitleDelete = UserEditPopupMenu->addAction(
        QCoreApplication::translate("TMainForm", "このサブタイトルを削除"));
    connect(UserTitleDelete, &QAction::triggered, this, [this] { UserTitleDeleteClick(); });
    ComboBox2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ComboBox2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { UserEditPopupMenu->popup(ComboBox2->mapToGlobal(pos)); });

    Timer1 = new QTimer(this);
    Timer1->setInterval(2500);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    ambience_ = new Ambience(
        this, [this] { return partners_.ambienceLoop; },
        [this](const QString& name) { partners_.card->PutSound(name); });

    // Export is reachable without changing the window's layout: Ctrl+E, and the menu of a
    // right click on the window.
    ExportAction =
        new QAction(QCoreApplication::translate("TMainForm", "カードを書き出す(&E)..."), this);
    ExportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(ExportAction, &QAction::triggered, this, [this] { exportCard(); });
    addAction(ExportAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    // The text fields would take Ctrl+E themselves (end of line).
    for (QWidget* field : std::initializer_list<QWidget*>{Edit1, Edit2, ComboBox1->lineEdit(),
                                                          ComboBox2->lineEdit()})
        field->installEventFilter(this);
    installEventFilter(this); // the window's menu
    export_ = new ExportController(
        [this](const ExportOptions& options) {
            return makeCardExportSource(options, *exportSettings_);
        },
        this);

    connect(RunButton, &QPushButton::clicked, this, [this] { RunButtonClick(); });
    connect(TsrButton, &QPushButton::clicked, this, [this] { TsrButtonClick(); });
    connect(OptionButton, &QPushButton::clicked, this, [this] { OptionButtonClick(); });
    connect(AboutButton, &QPushButton::clicked, this, [this] { AboutButtonClick(); });

    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() {
    registerCursor(1, QStringLiteral("CURSOR_1"), 0, 5);
    registerCursor(2, QStringLiteral("CURSOR_2"), 0, 0);
    const QCursor bullet = programCursor(1);
    for (QWidget* w :
         std::initializer_list<QWidget*>{RunButton, TsrButton, OptionButton, AboutButton, ComboBox1,
                                         ComboBox2, ErasorImage, PencilImage, DiceImage})
        w->setCursor(bullet);
    programRandom().reseed();
    ambience_->Get15Next = false;
}

QByteArray TMainForm::line1() const {
    return sjis::fromUnicode(Edit1->text());
}
QByteArray TMainForm::line2() const {
    return sjis::fromUnicode(Edit2->text());
}
void TMainForm::setLine1(const QByteArray& text) {
    Edit1->setText(sjis::toUnicode(text));
}
void TMainForm::setLine2(const QByteArray& text) {
    Edit2->setText(sjis::toUnicode(text));
}

void TMainForm::clickCue() {
    partners_.card->PutSound(QStringLiteral("Bang"));
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    // Before the menu takes the focus: the input method would hand an open composition
    // to the menu, and it would be lost.
    if (watched == this && event->type() == QEvent::ContextMenu)
        settleLines(*this);
    // Enter in a list's text field presses Run, as everywhere else in the window; the
    // field would otherwise take it as the pick of the item its text names.
    if (event->type() == QEvent::KeyPress &&
        (watched == ComboBox1->lineEdit() || watched == ComboBox2->lineEdit())) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            RunButton->click();
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (QKeySequence(key->keyCombination()) == ExportAction->shortcut()) {
            event->ignore(); // the window's shortcut, not the field's
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TMainForm::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // Only a paint of the whole window counts (it was shown or uncovered), not the
    // repaint of a control's area.
    if (!event->region().contains(rect()))
        return;
    // Queued, so it may arrive after a dialog button has hidden the window: a hidden
    // window has not been painted, and showing it again would defeat the hide.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isVisible())
                FormPaint();
        },
        Qt::QueuedConnection);
}

void TMainForm::FormPaint() {
    // While a card covers the screen the window cannot really be seen: a paint then
    // neither starts another card nor raises the window over the card.
    if (partners_.card && partners_.card->isVisible())
        return;
    const RunKind mode = environment().runMode().kind;
    if (mode == RunKind::ScreenSaver) {
        Edit1->clear();
        SelectSubtitle();
    } else if (mode == RunKind::Preview) {
        // preview: nothing
    } else {
        show();
        raise();
    }
}

void TMainForm::RunButtonClick() {
    settleLines(*this);
    clickCue();
    SelectSubtitle();
}

void TMainForm::SelectSubtitle() {
    if (!Edit1->text().isEmpty()) {
        partners_.card->RunQuillon(line1(), line2());
        return;
    }
    randomChoice();
    partners_.card->RunQuillon(line1(), line2());
    Edit1->clear();
    Edit2->clear();
}

void TMainForm::randomChoice() {
    const RandomItem chosen = drawRandomItem(programRandom(), partners_.settings->DiceMode(),
                                             ComboBox1->itemCount(), ComboBox2->itemCount());
    GetComboString(chosen.list, chosen.index);
}

void TMainForm::GetComboString(int list, int index) {
    QByteArray item;
    if (list == 1)
        item = ComboBox1->itemBytes(index);
    else if (list == 2)
        item = ComboBox2->itemBytes(index);
    // Line 1 counts as the field holds it.
    const SubtitleLines lines = itemToLines(item, [this](const QByteArray& line1) {
        setLine1(line1);
        return Edit1->text().isEmpty();
    });
    setLine1(lines.line1);
    setLine2(lines.line2);
}

void TMainForm::TsrButtonClick() {
    close();
}

void TMainForm::reject() {
    TsrButtonClick();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}

void TMainForm::OptionButtonClick() {
    clickCue();
    hide();
    partners_.settings->exec();
}

void TMainForm::AboutButtonClick() {
    clickCue();
    hide();
    partners_.about->exec();
}

void TMainForm::ErasorImageClick() {
    settleLines(*this);
    clickCue();
    if (!Edit1->text().isEmpty() || !Edit2->text().isEmpty()) {
        ErasedLine1 = line1();
        ErasedLine2 = line2();
        Edit1->clear();
        Edit2->clear();
    } else {
        setLine1(ErasedLine1);
        setLine2(ErasedLine2);
    }
}

void TMainForm::DiceImageClick() {
    settleLines(*this);
    clickCue();
    randomChoice();
}

void TMainForm::ComboBox1Change() {
    settleLines(*this);
    GetComboString(1, ComboBox1->itemIndex());
    clickCue();
}

void TMainForm::ComboBox2Change() {
    settleLines(*this);
    GetComboString(2, ComboBox2->itemIndex());
    clickCue();
}

void TMainForm::ComboBox1DropDown() {
    clickCue();
}
void TMainForm::ComboBox2DropDown() {
    clickCue();
}

void TMainForm::PencilImageClick() {
    settleLines(*this);
    clickCue();
    saveTypedSubtitle(*this, *partners_.settings);
}

void TMainForm::UserTitleDeleteClick() {
    deleteChosenSubtitle(*this, *partners_.settings);
}

void TMainForm::armAmbience() {
    timer1Tag = 1;
    if (!Timer1->isActive())
        Timer1->start();
}

void TMainForm::exportCard() {
    if (export_->busy())
        return;
    settleLines(*this);
    exportSettings_ = std::make_shared<const Settings>(partners_.settings->currentSettings());
    export_->exportLines(line1(), line2());
}

void TMainForm::Timer1Timer() {
    ambience_->tick(timer1Tag, Timer1);
}

} // namespace quillon
