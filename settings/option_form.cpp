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
    : QDialog(parent), ui_(std::make_unique<Ui::OptionForm>()), catalogueList_(catalogueList),
      userList_(userList) {
    ui_->setupUi(this);
    OkButton = ui_->OkButton;
    CancelButton = ui_->CancelButton;
    DiceRadioGroup = ui_->DiceRadioGroup;
    OriginalRadioGroup = ui_->OriginalRadioGroup;
    UserFileButton = ui_->UserFileButton;
    UserFileReleaseButton = ui_->UserFileReleaseButton;
    FontButton = ui_->FontButton;
    AutoCloseCheckBox = ui_->AutoCloseCheckBox;
    SilentCheckBox = ui_->SilentCheckBox;
    MagnifySpinEdit = ui_->MagnifySpinEdit;
    StartWaitSpinEdit = ui_->StartWaitSpinEdit;
    WaitSpinEdit = ui_->WaitSpinEdit;
    DiceRadioGroup->adoptButtons();
    OriginalRadioGroup->adoptButtons();

    ListBox1 = catalogueTitles(1);
    ListBox2 = catalogueTitles(2);
    ListBox3 = catalogueTitles(3);

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
    connect(AutoCloseCheckBox, &QCheckBox::clicked, this, [this] { playClickCue(); });
    connect(SilentCheckBox, &QCheckBox::clicked, this, [this] { playClickCue(); });
    OriginalRadioGroup->OnClick = [this] { playClickCue(); };
    DiceRadioGroup->OnClick = [this] { playClickCue(); };
    for (SpinEdit* field : {MagnifySpinEdit, StartWaitSpinEdit, WaitSpinEdit})
        field->OnClick = [this] { playClickCue(); };
}

void TOptionForm::setInitialValues() {
    namespace table = setting_table;
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
    FontDialog1.faceName = defaultFaceName();
    FontDialog1.charset = table::Charset.initial;
}

void TOptionForm::FormCreate() {
    // What a save killed half-way left beside the settings file goes at the next start.
    removeAbandonedParts(settingsFilePath());
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
    return StartWaitSpinEdit->value();
}
int TOptionForm::Wait() const {
    return WaitSpinEdit->value();
}
int TOptionForm::Magnify() const {
    return MagnifySpinEdit->value();
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
    return DiceRadioGroup->itemIndex();
}
int TOptionForm::Original() const {
    return OriginalRadioGroup->itemIndex();
}
QString TOptionForm::UserFile() const {
    return OpenDialog1.fileName;
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
    OpenDialog1.fileName = s.userFile;
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
    const QString path = settingsFilePath();
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
    const SettingsLocation location = currentSettingsLocation();
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
    OpenDialog1.fileName.clear();
}

namespace {
// Which bound cut the reading short tells the user what to fix in the file.
QString cutShortNotice(const QString& path, UserFileStop stop, int held) {
    const QString file = QDir::toNativeSeparators(path);
    const QString count = QString::number(held);
    switch (stop) {
    case UserFileStop::LongLine:
        return formatMessage(
            QCoreApplication::translate("TOptionForm",
                                        "ファイル %s の %s 行目が 4096 バイトを超えるため、最初の "
                                        "%s 件だけを読み込みました。"),
            {file, QString::number(held + 1), count});
    case UserFileStop::ManyLines:
        return formatMessage(QCoreApplication::translate("TOptionForm",
                                                         "ファイル %s は 1,000,000 行を超えるため、"
                                                         "最初の %s 件だけを読み込みました。"),
                             {file, count});
    case UserFileStop::ManyBytes:
    case UserFileStop::None:
        break;
    }
    return formatMessage(
        QCoreApplication::translate(
            "TOptionForm", "ファイル %s は 16 MB を超えるため、最初の %s 件だけを読み込みました。"),
        {file, count});
}
} // namespace

void TOptionForm::takeUserFileLines(const QString& path) {
    UserFileContents read = readSubtitleFile(path);
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
        prompts().tellOk(isVisible() ? this : nullptr, cutShortNotice(path, read.stop, held));
}

std::optional<int> TOptionForm::userFileRestAfter() const {
    if (partlyHeldFile_.isEmpty() || partlyHeldFile_ != UserFile())
        return std::nullopt;
    return heldLines_;
}

void TOptionForm::setUserFile(const QString& path) {
    OpenDialog1.fileName = path;
    showUserFileName(path);
}

void TOptionForm::showUserFileName(const QString& path) {
    UserFileButton->setText(QFileInfo(path).fileName());
}

void TOptionForm::setDiceChoiceEnabled(bool enabled) {
    DiceRadioGroup->setEnabled(enabled);
}

QString TOptionForm::chooseNewUserFile(QWidget* parent) {
    return SaveDialog1.execute(parent) ? SaveDialog1.fileName : QString();
}

// Handlers

void TOptionForm::playClickCue() {
    if (clickCue)
        clickCue();
}

void TOptionForm::backToMainWindow() {
    if (showMainWindow)
        showMainWindow();
}

void TOptionForm::UserFileButtonClick() {
    playClickCue();
    if (OpenDialog1.execute(this))
        UserFileCheck();
}

void TOptionForm::UserFileReleaseButtonClick() {
    OpenDialog1.fileName.clear();
    UserFileCheck();
}

void TOptionForm::FontButtonClick() {
    playClickCue();
    if (FontDialog1.execute(this))
        FontButton->setText(FontDialog1.faceText());
}

void TOptionForm::OkButtonClick() {
    playClickCue();
    ModIni(); // a failure leaves the dialog open with the edited values
    ModCombo();
    backToMainWindow();
    close();
}

void TOptionForm::CancelButtonClick() {
    playClickCue();
    GetIni();
    backToMainWindow();
    close();
}

void TOptionForm::FormClose() {
    playClickCue();
    backToMainWindow();
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
