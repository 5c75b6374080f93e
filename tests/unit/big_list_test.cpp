// A long user list: its rows are the file's lines, a file past the list's bounds is held
// as far as it goes and keeps the rest through a save, and the random choice over a long
// list draws what it always drew.
#include "platform/core/random.h"
#include "platform/text/sjis.h"
#include "settings/option_form.h"
#include "subtitles/catalogue.h"
#include "subtitles/subtitle_combo.h"
#include "subtitles/subtitle_item_model.h"
#include "subtitles/user_file.h"
#include "support/program_fixture.h"

#include <QDir>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <random>

using namespace quillon;
using namespace quillon::testing;

namespace {

// Catalogue-like lines, each made distinct by its number.
QByteArray longListLine(int i) {
    const QList<QByteArray>& titles = catalogueTitles(2);
    return titles.at(i % titles.size()) + QByteArray::number(i);
}

QByteArray longListFile(int lines) {
    QByteArray bytes;
    for (int i = 0; i < lines; ++i)
        bytes += longListLine(i) + "\r\n";
    return bytes;
}

QString sj(const QByteArray& bytes) {
    return sjis::toUnicode(bytes);
}

class BigList : public ProgramFixture {
protected:
    // Starts the program with a user file in use holding these bytes.
    void startWithFile(const QByteArray& bytes, int diceMode = 0) {
        writeFile(qln(), bytes);
        writeFile(ini(), "[File]\r\nUserFile=" + sjis::fromUnicode(qln()) +
                             "\r\n[Option]\r\nDiceMode=" + QByteArray::number(diceMode) + "\r\n");
        makeProgram();
    }
    QString qln() const { return dir.filePath("long.qln"); }
    // What the user is told when the list holds only the first lines; why comes first.
    QString notice(const QString& why, int held) const {
        return QStringLiteral("ファイル %1 %2ため、最初の %3 件だけを読み込みました。")
            .arg(QDir::toNativeSeparators(qln()), why)
            .arg(held);
    }
    SubtitleCombo& list() { return *MainForm->ComboBox2; }
};

} // namespace

TEST_F(BigList, RowsAreTheFilesLines) {
    const QByteArray first = sjis::fromUnicode(QStringLiteral("甲の 乙"));
    const QByteArray loneLead("AB \x82", 4); // a lead byte with nothing after it
    const QByteArray withNul("CD\0EF", 5);
    QByteArray bytes = first + "\r\n" + loneLead + "\n" + withNul + "\r\n\n";
    bytes += longListFile(200000);
    bytes += "GH IJ"; // no line end
    startWithFile(bytes);

    ASSERT_EQ(list().itemCount(), 200005);
    const auto* model = static_cast<const SubtitleItemModel*>(list().model());
    const auto row = [&](int i) { return list().itemText(i); };
    EXPECT_EQ(row(0), QStringLiteral("甲の 乙"));
    EXPECT_EQ(row(1), sj(loneLead));
    EXPECT_EQ(row(1), QStringLiteral("AB ")); // shown without the byte it lacks
    EXPECT_EQ(row(2), QStringLiteral("CD"));  // up to the NUL
    EXPECT_EQ(row(3), QString());
    EXPECT_EQ(row(4), sj(longListLine(0)));
    EXPECT_EQ(row(150004), sj(longListLine(150000)));
    EXPECT_EQ(row(200004), QStringLiteral("GH IJ"));
    // The fields take the bytes; the file's bytes stay whole.
    EXPECT_EQ(list().itemBytes(1), loneLead);
    EXPECT_EQ(list().itemBytes(2), QByteArray("CD"));
    EXPECT_EQ(list().items().at(2), withNul);
    EXPECT_EQ(list().items().at(200003), longListLine(199999));
    MainForm->GetComboString(2, 1);
    EXPECT_EQ(MainForm->line1(), QByteArray("AB"));
    EXPECT_TRUE(fake.reports.isEmpty());

    // Typing a row's text selects it, in any letter case; the lookup skips rows by their
    // length, and must find what a lookup of every row finds.
    list().lineEdit()->clear();
    list().lineEdit()->insert(QStringLiteral("gh ij"));
    emit list().lineEdit()->textEdited(QStringLiteral("gh ij"));
    EXPECT_EQ(list().itemIndex(), 200004);
    std::mt19937 random(7);
    const auto randomItem = [&] {
        static const char pool[] = "aAbB \x82\x83\x88\xe0\xfc\x40\x60\x9f\xa0\xfd\x80\x1a";
        QByteArray item;
        for (int n = int(random() % 7); n > 0; --n)
            item += pool[random() % (sizeof pool - 1)];
        return item;
    };
    QList<QByteArray> odd;
    for (int i = 0; i < 3000; ++i)
        odd.append(randomItem());
    list().setItems(odd);
    for (int i = 0; i < 300; ++i) {
        const QString typed = i % 2 ? sj(odd.at(i)).toUpper() : sj(randomItem());
        for (const int hits : {1, -1}) {
            const auto flags = Qt::MatchFlags(Qt::MatchFixedString | Qt::MatchWrap);
            const QModelIndex start = model->index(int(random() % 3000));
            EXPECT_EQ(model->match(start, Qt::DisplayRole, typed, hits, flags),
                      model->QAbstractItemModel::match(start, Qt::DisplayRole, typed, hits, flags))
                << typed.toStdString();
        }
    }
}

TEST_F(BigList, AFilePastTheBoundsIsHeldAsFarAsItGoesAndKeepsTheRest) {
    // A line longer than 4096 bytes ends what is read; the user is told once, and why.
    const QByteArray overlong(UserLineByteBound + 1, 'x');
    const QByteArray rest = overlong + "\r\nGH \n";
    const QByteArray original = "AB CD\r\nEF\n" + rest;
    startWithFile(original);
    EXPECT_EQ(list().items(), (SubtitleItems{"AB CD", "EF"}));
    EXPECT_TRUE(list().isEnabled());
    EXPECT_EQ(fake.reports,
              QStringList{notice(QStringLiteral("の 3 行目が 4096 バイトを超える"), 2)});
    EXPECT_EQ(readFile(qln()), original);

    // A save writes the list, then the lines it did not hold, as they were, and the new
    // subtitle last, at the file's end.
    MainForm->Edit1->setText(QStringLiteral("IJ"));
    MainForm->PencilImageClick();
    EXPECT_EQ(readFile(qln()), "AB CD\r\nEF\r\n" + rest + "IJ \r\n");
    EXPECT_EQ(list().items(), (SubtitleItems{"AB CD", "EF"}));
    EXPECT_EQ(fake.reports.size(), 2); // the save's report, no second notice

    // Deleting every held line leaves the rest, and the file stays in use.
    for (int i = 0; i < 2; ++i) {
        list().setItemIndex(0);
        MainForm->UserTitleDeleteClick();
    }
    EXPECT_EQ(readFile(qln()), rest + "IJ \r\n");
    EXPECT_EQ(OptionForm->UserFile(), qln());
    EXPECT_EQ(list().itemCount(), 0);
    EXPECT_TRUE(list().isEnabled());
    program.reset();

    // Past 16 MB the list holds the whole lines before the bound. Here the last line
    // before it has its CR in the bound and its LF after it: that line is not held.
    fake.reports.clear();
    QByteArray big = QByteArray(31, 'P') + "\r\n";
    const QByteArray line(30, 'y');
    while (big.size() <= UserFileByteBound)
        big += line + "\r\n";
    ASSERT_EQ(big.at(UserFileByteBound - 1), '\r');
    const qsizetype heldBytes = big.left(UserFileByteBound).lastIndexOf("\r\n") + 2;
    const int held = int(big.left(heldBytes).count("\r\n"));
    startWithFile(big);
    ASSERT_EQ(list().itemCount(), held);
    EXPECT_EQ(list().items().at(held - 1), line);
    EXPECT_EQ(fake.reports, QStringList{notice(QStringLiteral("は 16 MB を超える"), held)});
    MainForm->Edit1->setText(QStringLiteral("KL"));
    MainForm->PencilImageClick();
    EXPECT_EQ(readFile(qln()), big + "KL \r\n");
    program.reset();

    // One line more than the list holds, the last without its line end: the new subtitle
    // still becomes a line of its own, the file's last.
    fake.reports.clear();
    const QByteArray many = QByteArray("a b\r\n").repeated(UserFileItemBound) + "z";
    startWithFile(many);
    ASSERT_EQ(list().itemCount(), UserFileItemBound);
    EXPECT_EQ(fake.reports,
              QStringList{notice(QStringLiteral("は 1,000,000 行を超える"), UserFileItemBound)});
    MainForm->Edit1->setText(QStringLiteral("MN"));
    MainForm->PencilImageClick();
    EXPECT_EQ(readFile(qln()), many + "\r\nMN \r\n");
    EXPECT_EQ(parseSubtitleLines(readFile(qln())).last(), QByteArray("MN "));
}

TEST_F(BigList, RandomChoiceDrawsAsBefore) {
    startWithFile(longListFile(200000));
    ASSERT_EQ(list().itemCount(), 200000);
    // What the program drew from this seed when each item was a row of its own.
    const QStringList before = {"帝国軍の|若き中尉クロウ",       "悲しみの惑星|雨は涙の色152806",
                                "星降る村の|小さな祭り",         "救出作戦|残り時間は60分",
                                "燃えつきろ|ガンザラス！152378", "ポロ宛ての千年前の手紙129140|",
                                "囚われのリン|帝国の尋問",       "大脱走！|帝国監獄星",
                                "帝国の首都|黒曜城潜入",         "呪われた宝石オパリス194790|",
                                "謎の信号は|午前3時に",          "月の裏側で|君を待っている"};
    programRandom().setSeed(20261209);
    QStringList drawn;
    for (int i = 0; i < before.size(); ++i) {
        MainForm->randomChoice();
        drawn.append(MainForm->Edit1->text() + u'|' + MainForm->Edit2->text());
    }
    EXPECT_EQ(drawn, before);
}
