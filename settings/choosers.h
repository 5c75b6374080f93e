#pragma once
// The dialog's non-visual choosers: the user file (open and save) and the display
// font. Each keeps its current value and asks through prompts() so tests can answer.
#include "platform/ui/prompts.h"
#include "settings/settings_store.h"

#include <QByteArray>
#include <QString>

class QWidget;

namespace quillon {

// "ユーザー指定サブタイトル" / "*.qln", default extension "qln".
FileFilter userFileFilter();
inline const QString UserFileExtension = QStringLiteral("qln");

class FileChooser {
public:
    enum class Kind { Open, Save };
    explicit FileChooser(Kind kind) : kind_(kind) {}

    QString fileName; // full path, or empty

    // Shows the chooser starting from fileName; on confirmation fileName becomes the
    // chosen path and true is returned. A cancel changes nothing.
    bool execute(QWidget* parent);

private:
    Kind kind_;
};

// Told when the chosen font's name cannot be stored (%s: the name).
QString unstorableFaceMessage();

class FontChooser {
public:
    // Face name as Shift-JIS bytes (at most 31) and Windows character set.
    QByteArray faceName;
    int charset = 0;

    QString faceText() const;
    // Shows the chooser with the current face. On confirmation only the face changes:
    // the toolkit's fonts carry no character set, so the stored one stays. A family
    // whose name Shift-JIS cannot hold is not taken (the settings file could not keep
    // it); a notice says so.
    bool execute(QWidget* parent);
};

} // namespace quillon
