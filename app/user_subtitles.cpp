#include "app/user_subtitles.h"

#include "app/main_form.h"
#include "platform/core/services.h"
#include "platform/ui/prompts.h"
#include "settings/option_form.h"
#include "subtitles/subtitle_combo.h"
#include "subtitles/user_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <optional>

namespace quillon {

namespace {
QString noFileQuestion() {
    return QCoreApplication::translate("UserSubtitles",
                                       "User's Fileがありません。\n作成しますか？");
}
QString savedReport() {
    return QCoreApplication::translate("UserSubtitles", "ユーザー指定サブタイトルを保存しました。");
}
QString deleteQuestion(const QString& item) {
    return QCoreApplication::translate("UserSubtitles", "%1\nをユーザーファイルから削除しますか？")
        .arg(item);
}
QString deletedReport() {
    return QCoreApplication::translate("UserSubtitles", "ユーザー指定サブタイトルを削除しました。");
}

// A line field can hold a pasted line end, which the file would read back as two
// subtitles: line ends are left out of the stored item.
QByteArray withoutLineEnds(QByteArray line) {
    line.removeIf([](char c) { return c == '\r' || c == '\n'; });
    return line;
}

// The list is the file's in-memory form: after a change the whole list replaces the
// file, and the file is read back into the list. A file longer than the list could hold
// keeps its other lines after the list, and a new subtitle goes after them, at the file's
// end. A failure raises and stops the caller.
void rewriteUserFile(const SubtitleCombo& list, TOptionForm& settings,
                     const std::optional<QByteArray>& appended = std::nullopt) {
    writeSubtitleFile(settings.UserFile(), list.items(), settings.userFileRestAfter(), appended);
    settings.UserFileCheck();
}

// Asks for a new file's name and takes it into use; false when the user declines.
bool startUserFile(TMainForm& form, TOptionForm& settings) {
    if (!prompts().askYesNo(&form, noFileQuestion()))
        return false;
    const QString path = settings.chooseNewUserFile(&form);
    if (path.isEmpty())
        return false;
    form.ComboBox2->setEnabled(true);
    settings.setDiceChoiceEnabled(true); // DiceMode keeps its value
    settings.setUserFile(path);
    return true;
}

// The last subtitle is gone: the file goes too, and the settings forget it.
void releaseEmptyUserFile(TMainForm& form, TOptionForm& settings) {
    // A file that cannot be deleted stays behind empty; it is no longer in use either way.
    QFile::remove(settings.UserFile());
    form.ComboBox2->setText(TMainForm::userListPlaceholder());
    settings.setUserFile({});
    settings.ModIni();
    settings.GetIni();
}
} // namespace

void saveTypedSubtitle(TMainForm& form, TOptionForm& settings) {
    // A subtitle is saved only with a line 1.
    if (form.Edit1->text().isEmpty())
        return;
    if (settings.UserFile().isEmpty() && !startUserFile(form, settings))
        return;
    SubtitleCombo& list = *form.ComboBox2;
    const QByteArray item = withoutLineEnds(form.line1()) + ' ' + withoutLineEnds(form.line2());
    if (settings.userFileRestAfter()) {
        // Its place, the file's end, is past what the list holds.
        rewriteUserFile(list, settings, item);
    } else {
        list.appendItem(item);
        rewriteUserFile(list, settings);
    }
    prompts().tellOk(&form, savedReport());
    settings.ModIni();
}

void deleteChosenSubtitle(TMainForm& form, TOptionForm& settings) {
    SubtitleCombo& list = *form.ComboBox2;
    const int index = list.itemIndex();
    if (index < 0 || index >= list.itemCount())
        return;
    if (!prompts().askYesNo(&form, deleteQuestion(list.itemText(index))))
        return;
    list.removeItemAt(index);
    rewriteUserFile(list, settings);
    prompts().tellOk(&form, deletedReport());
    // A file with lines past what the list holds is not empty, and stays.
    if (list.itemCount() == 0 && !settings.userFileRestAfter())
        releaseEmptyUserFile(form, settings);
}

} // namespace quillon
