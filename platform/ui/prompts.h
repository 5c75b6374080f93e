#pragma once
// Every message box and common dialog of the program goes through one small interface,
// so that tests can answer them.
#include <QFont>
#include <QString>
#include <QStringList>

class QWidget;

namespace quillon {

struct FileFilter {
    QString description; // "ユーザー指定サブタイトル"
    QString pattern;     // "*.qln"
};

class Prompts {
public:
    virtual ~Prompts() = default;
    // The general error box: error icon, caption "Quillon for DirectX".
    virtual void showError(QWidget* parent, const QString& message) = 0;
    // Confirmation box (title "確認", question icon) with Yes (default) and No;
    // Esc and the close box answer No.
    virtual bool askYesNo(QWidget* parent, const QString& message) = 0;
    // Confirmation box with a single OK.
    virtual void tellOk(QWidget* parent, const QString& message) = 0;
    // File choosers; an empty result means cancelled. The save chooser asks before it
    // names a file that exists.
    virtual QString chooseOpenFile(QWidget* parent, const QString& current,
                                   const FileFilter& filter, const QString& defaultSuffix) = 0;
    virtual QString chooseSaveFile(QWidget* parent, const QString& current,
                                   const FileFilter& filter, const QString& defaultSuffix) = 0;
    // The face chooser (FaceChooser): a scalable face at 9 points, nothing else; false
    // when cancelled.
    virtual bool chooseFont(QWidget* parent, QFont& font) = 0;
    // The refusing beep of a number field.
    virtual void beep() = 0;
};

// Real boxes and choosers.
class WidgetPrompts : public Prompts {
public:
    void showError(QWidget* parent, const QString& message) override;
    bool askYesNo(QWidget* parent, const QString& message) override;
    void tellOk(QWidget* parent, const QString& message) override;
    QString chooseOpenFile(QWidget* parent, const QString& current, const FileFilter& filter,
                           const QString& defaultSuffix) override;
    QString chooseSaveFile(QWidget* parent, const QString& current, const FileFilter& filter,
                           const QString& defaultSuffix) override;
    bool chooseFont(QWidget* parent, QFont& font) override;
    void beep() override;
};

} // namespace quillon
