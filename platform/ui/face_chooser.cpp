#include "platform/ui/face_chooser.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

// A face the card can draw at any height: scalable, and not a set of symbols.
bool offered(const QString& family) {
    if (QFontDatabase::isPrivateFamily(family) || !QFontDatabase::isScalable(family))
        return false;
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    return !(systems.size() == 1 && systems.first() == QFontDatabase::Symbol);
}

} // namespace

FaceChooser::FaceChooser(QWidget* parent)
    : QDialog(parent), faces_(new QListWidget(this)), sample_(new QLabel(this)) {
    setWindowTitle(tr("フォントの選択"));
    auto* label = new QLabel(tr("フォント(&F)"), this);
    label->setBuddy(faces_);
    for (const QString& family : QFontDatabase::families())
        if (offered(family))
            faces_->addItem(family);
    faces_->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* sampleBox = new QGroupBox(tr("サンプル"), this);
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    // Glyphs of the face, not a phrase: the same in every language.
    sample_->setText(QStringLiteral("AaBbYyZz あア亜"));
    sample_->setAlignment(Qt::AlignCenter);
    sample_->setMinimumHeight(48);
    sampleLayout->addWidget(sample_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(faces_, &QListWidget::currentRowChanged, this, [this] { showSample(); });
    connect(faces_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(faces_, 1);
    layout->addWidget(sampleBox);
    layout->addWidget(buttons);
    resize(320, 360);
    if (faces_->count() > 0)
        faces_->setCurrentRow(0);
}

QFont FaceChooser::currentFont() const {
    const QListWidgetItem* item = faces_->currentItem();
    QFont font(item ? item->text() : QString());
    font.setPointSize(Points);
    return font;
}

void FaceChooser::setCurrentFont(const QFont& font) {
    const QList<QListWidgetItem*> found =
        faces_->findItems(font.family(), Qt::MatchFixedString | Qt::MatchCaseSensitive);
    const QList<QListWidgetItem*> any =
        found.isEmpty() ? faces_->findItems(font.family(), Qt::MatchFixedString) : found;
    if (any.isEmpty())
        return;
    faces_->setCurrentItem(any.first());
    faces_->scrollToItem(any.first(), QAbstractItemView::PositionAtCenter);
}

QStringList FaceChooser::faces() const {
    QStringList list;
    for (int i = 0; i < faces_->count(); ++i)
        list.append(faces_->item(i)->text());
    return list;
}

void FaceChooser::showSample() {
    sample_->setFont(currentFont());
}

} // namespace quillon
