#pragma once
// The font chooser of the card's text: it offers the face and nothing else. The text's
// height comes from the card and its style is always plain, so there is no style list,
// no size list and no effects; the faces are the installed scalable ones, symbol fonts
// left out, and the sample shows the face at 9 points.
#include <QDialog>
#include <QFont>
#include <QStringList>

class QLabel;
class QListWidget;

namespace quillon {

class FaceChooser : public QDialog {
    Q_OBJECT

public:
    static constexpr int Points = 9;

    explicit FaceChooser(QWidget* parent = nullptr);

    // The face selected, at 9 points; the family is empty when none is.
    QFont currentFont() const;
    // Selects the font's family when it is listed (letter case aside); otherwise the
    // selection stays.
    void setCurrentFont(const QFont& font);
    // The faces offered, in the order listed.
    QStringList faces() const;

private:
    void showSample();

    QListWidget* faces_;
    QLabel* sample_;
};

} // namespace quillon
