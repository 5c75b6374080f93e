#include "settings/option_form.h"

#include "platform/core/atomic_file.h"
#include "platform/core/error.h"
#include "platform/core/pending_file.h"
#include "platform/core/services.h"
#include "platform/ui/application.h"
#include "platform/ui/cursors.h"
#include "platform/ui/fonts.h"
#include "platform/ui/radio_group.h"
#include "platform/ui/spin_edit.h"
#include "subtitles/catalogue.h"
#include "subtitles/subtitle_list.h"
#include "subtitles/user_file.h"
#include "ui_option_form.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

namespace quillon {

namespace {
QString notSelected() {
    return QCoreApplication::translate("TOptionForm", "not selected");
}

Exception cannotWrite(const QString& path) {
    return Exception(formatMessage(QCoreApplication::translate("Errors", "%s に書き込めません"),
                                   {QDir::toNativeSeparators(path)}));
}

bool isExistingFile(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}
} // namespace

TOptionForm::TOptionForm(SubtitleList& catalogueList, SubtitleList& userList, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::OptionForm>()), catalogueList_(catalogueList),
      userList_(userList) {
    ui->setupUi(this);
    OkButton = ui->OkButton;
    CancelButton = ui->CancelButton;
    DiceRadioGroup = ui->DiceRadioGroup;
    OriginalRadioGroup = ui->OriginalRadioGroup;
    UserFileButton = ui->UserFileButton;
    UserFileReleaseButton = ui->UserFileReleaseButton;
    FontButton = ui->FontButton;
    AutoCloseCheckBox = ui->AutoCloseCheckBox;
    SilentCheckBox = ui->SilentCheckBox;
    MagnifySpinEdit = ui->MagnifySpinEdit;
    StartWaitSpinEdit = ui->StartWaitSpinEdit;
    WaitSpinEdit = ui->WaitSpinEdit;
    DiceRadioGroup->adoptButtons();
    OriginalRadioGroup->adoptButtons();

    ListBox1 = CatalogueTitles(1);
    ListBox2 = CatalogueTitles(2);
    ListBox3 = CatalogueTitles(3);

    setUpFixedWindow(*this, QSize(392, 263));
    setInitialValues();
    connectHandlers();
    FormCreate();
}

TOptionForm::~TOptionForm() = default;

void TOptionForm::connectHandlers() {
    connect(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
    connect(UserFileButton, &QPushButton::clicked, this, [this] { UserFileButtonClick(); });
    connect(UserFileReleaseButton, &QPushButton::clicked, this,
            [this] { UserFileReleaseButtonClick(); });
    connect(FontButton, &QPushButton::clicked, this, [this] { FontButtonClick(); });
    connect(AutoCloseCheckBox, &QCheckBox::clicked, this, [this] { clickCue(); });
    connect(SilentCheckBox, &QCheckBox::clicked, this, [this] { clickCue(); });
    OriginalRadioGroup->OnClick = [this] { clickCue(); };
    DiceRadioGroup->OnClick = [this] { clickCue(); };
    for (SpinEdit* field : {MagnifySpinEdit, StartWaitSpinEdit, WaitSpinEdit})
        field->OnClick = [this] { clickCue(); };
}

void TOptionForm::setInitialValues() {
    namespace table = SettingTable;
    const std::pair<SpinEdit*, NumberSetting> fields[] = {{MagnifySpinEdit, table::Magnify},
                                                          {StartWaitSpinEdit, table::StartWait},
                                                          {WaitSpinEdit, table::Wait}};
    for (const auto& [field, setting] : fields) {
        field->setMinValue(setting.min);
        field->setMaxValue(setting.max);
        field->setIncrement(setting.step);
        field->setValue(setting.initial);
    }
    DiceRadioGroup->setItemIndex(table::DiceMode.initial);
    OriginalRadioGroup->setItemIndex(table::Original.initial);
    AutoCloseCheckBox->setChecked(table::AutoClose.initial != 0);
    SilentCheckBox->setChecked(table::Silent.initial != 0);
    FontDialog1.faceName = DefaultFaceName();
    FontDialog1.charset = table::Charset.initial;
}

void TOptionForm::FormCreate() {
    // What a save killed half-way left beside the settings file goes at the next start.
    removeAbandonedParts(SettingsFilePath());
    // A load that fails here (an unreadable user file) is shown; the program goes on.
    try {
        GetIni();
    } catch (const std::exception& error) {
        reportError(error);
    }
    const QCursor bullet = programCursor(1);
    for (QWidget* w :
         std::initializer_list<QWidget*>{UserFileButton, UserFileReleaseButton, FontButton,
                                         CancelButton, OkButton, AutoCloseCheckBox, SilentCheckBox})
        w->setCursor(bullet);
    // The text part of a number field sets its own cursor, so each part gets it.
    for (SpinEdit* field : {MagnifySpinEdit, StartWaitSpinEdit, WaitSpinEdit})
        for (QWidget* w : std::initializer_list<QWidget*>{field, field->editor(), field->upButton(),
                                                          field->downButton()})
            w->setCursor(bullet);
}

// Live values

int TOptionForm::StartWait() const {
    return StartWaitSpinEdit->Value();
}
int TOptionForm::Wait() const {
    return WaitSpinEdit->Value();
}
int TOptionForm::Magnify() const {
    return MagnifySpinEdit->Value();
}
bool TOptionForm::AutoClose() const {
    return AutoCloseCheckBox->isChecked();
}
bool TOptionForm::Silent() const {
    return SilentCheckBox->isChecked();
}
DisplayFont TOptionForm::Font() const {
    return {FontDialog1.faceText(), FontDialog1.charset};
}
int TOptionForm::DiceMode() const {
    return DiceRadioGroup->ItemIndex();
}
int TOptionForm::Original() const {
    return OriginalRadioGroup->ItemIndex();
}
QString TOptionForm::UserFile() const {
    return OpenDialog1.FileName;
}

Settings TOptionForm::currentSettings() const {
    Settings s;
    s.userFile = UserFile();
    s.faceName = FontDialog1.faceName;
    s.charset = FontDialog1.charset;
    s.autoClose = AutoClose();
    s.silent = Silent();
    s.diceMode = DiceMode();
    s.original = Original();
    s.wait = Wait();
    s.startWait = StartWait();
    s.magnify = Magnify();
    return s;
}

void TOptionForm::applySettings(const Settings& s) {
    OpenDialog1.FileName = s.userFile;
    FontDialog1.faceName = s.faceName;
    FontDialog1.charset = s.charset;
    AutoCloseCheckBox->setChecked(s.autoClose);
    SilentCheckBox->setChecked(s.silent);
    DiceRadioGroup->setItemIndex(s.diceMode);
    OriginalRadioGroup->setItemIndex(s.original);
    WaitSpinEdit->setValue(s.wait);
    StartWaitSpinEdit->setValue(s.startWait);
    MagnifySpinEdit->setValue(s.magnify);
}

// The settings file

void TOptionForm::GetIni() {
    const QString path = SettingsFilePath();
    // No file (or nothing readable by that name): every control keeps what it holds.
    if (isExistingFile(path)) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            if (file.error() == QFileDevice::NoError)
                applySettings(readSettings(IniDocument::parse(bytes), currentSettings()));
        }
    }
    FontButton->setText(FontDialog1.faceText());
    UserFileCheck();
    ModCombo();
}

void TOptionForm::ModIni() {
    const SettingsLocation location = CurrentSettingsLocation();
    const QString& path = location.path;
    if (location.makeFolder())
        makeSettingsFolder(path); // a failure shows in the save below
    IniDocument doc;
    if (QFileInfo::exists(path)) {
        // The other lines of the file must survive, so a file we cannot read is not replaced.
        QFile file(path);
        if (!isExistingFile(path) || !file.open(QIODevice::ReadOnly))
            throw cannotWrite(path);
        doc = IniDocument::parse(file.readAll());
        if (file.error() != QFileDevice::NoError)
            throw cannotWrite(path);
    }
    if (!writeSettings(doc, currentSettings()))
        throw cannotWrite(path);
    if (saveFileAtomically(path, doc.serialize()) != SaveResult::Saved)
        throw cannotWrite(path);
}

// Refresh steps for the main window's lists

void TOptionForm::ModCombo() {
    QList<QByteArray> items;
    switch (Original()) {
    case 0:
        items = ListBox1;
        break;
    case 1:
        items = ListBox2;
        break;
    case 2:
        items = ListBox3;
        break;
    default:
        items = ListBox1 + ListBox2 + ListBox3;
        break;
    }
    catalogueList_.setItems(items);
}

void TOptionForm::UserFileCheck() {
    const QString path = UserFile();
    if (isExistingFile(path)) {
        removeAbandonedParts(path);
        userList_.enableList(true);
        setDiceChoiceEnabled(true);
        showUserFileName(path);
        takeUserFileLines(path);
        return;
    }
    partlyHeldFile_.clear();
    userList_.clearItems();
    userList_.enableList(false);
    DiceRadioGroup->setItemIndex(1);
    setDiceChoiceEnabled(false);
    UserFileButton->setText(notSelected());
    OpenDialog1.FileName.clear();
}

void TOptionForm::takeUserFileLines(const QString& path) {
    UserFileContents read = ReadSubtitleFile(path);
    const int held = read.items.size();
    userList_.setItems(std::move(read.items));
    if (read.complete) {
        partlyHeldFile_.clear();
        return;
    }
    // Said once for a file: the pencil and the delete read it back after every change.
    const bool told = partlyHeldFile_ == path;
    partlyHeldFile_ = path;
    heldLines_ = held;
    if (!told)
        prompts().tellOk(isVisible() ? this : nullptr,
                         formatMessage(QCoreApplication::translate(
                                           "TOptionForm", "ファイル %s は大きすぎるため、最初の "
                                                          "%s 件だけを読み込みました。"),
                                       {QDir::toNativeSeparators(path), QString::number(held)}));
}

std::optional<int> TOptionForm::userFileRestAfter() const {
    if (partlyHeldFile_.isEmpty() || partlyHeldFile_ != UserFile())
        return std::nullopt;
    return heldLines_;
}

void TOptionForm::setUserFile(const QString& path) {
    OpenDialog1.FileName = path;
    showUserFileName(path);
}

void TOptionForm::showUserFileName(const QString& path) {
    UserFileButton->setText(QFileInfo(path).fileName());
}

void TOptionForm::setDiceChoiceEnabled(bool enabled) {
    DiceRadioGroup->setEnabled(enabled);
}

QString TOptionForm::chooseNewUserFile(QWidget* parent) {
    return SaveDialog1.Execute(parent) ? SaveDialog1.FileName : QString();
}

// Handlers

void TOptionForm::clickCue() {
    if (ClickCue)
        ClickCue();
}

void TOptionForm::showMainWindow() {
    if (ShowMainWindow)
        ShowMainWindow();
}

void TOptionForm::UserFileButtonClick() {
    clickCue();
    if (OpenDialog1.Execute(this))
        UserFileCheck();
}

void TOptionForm::UserFileReleaseButtonClick() {
    OpenDialog1.FileName.clear();
    UserFileCheck();
}

void TOptionForm::FontButtonClick() {
    clickCue();
    if (FontDialog1.Execute(this))
        FontButton->setText(FontDialog1.faceText());
}

void TOptionForm::OkButtonClick() {
    clickCue();
    ModIni(); // a failure leaves the dialog open with the edited values
    ModCombo();
    showMainWindow();
    close();
}

void TOptionForm::CancelButtonClick() {
    clickCue();
    GetIni();
    showMainWindow();
    close();
}

void TOptionForm::FormClose() {
    clickCue();
    showMainWindow();
}

void TOptionForm::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    // Ends a modal run and hides the window.
    QDialog::done(QDialog::Rejected);
}

void TOptionForm::reject() {
    CancelButtonClick();
}

void TOptionForm::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

} // namespace quillon
