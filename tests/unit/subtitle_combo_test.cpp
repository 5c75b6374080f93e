// The lists of the main window: after a refresh no item is current, so the keyboard
// starts from the first title; the text area shows the program's pointer.
#include "platform/ui/cursors.h"
#include "subtitles/subtitle_combo.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

class SubtitleComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        combo.OnChange = [this] { picks.push_back(combo.itemIndex()); };
        combo.show();
        QApplication::setActiveWindow(&combo);
        combo.setFocus();
    }
    SubtitleCombo combo;
    std::vector<int> picks;
};

} // namespace

TEST_F(SubtitleComboTest, NoItemIsCurrentAfterARefreshSoDownTakesTheFirst) {
    combo.setText(QStringLiteral("placeholder"));
    combo.setItems({"AB CD", "EF", "GH IJ"});
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.text(), QStringLiteral("placeholder"));
    QTest::keyClick(&combo, Qt::Key_Down);
    ASSERT_EQ(picks, std::vector<int>{0});
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(picks, (std::vector<int>{0, 1}));

    // A refresh after a pick, and a removal, leave nothing current again.
    combo.setItems({"KL", "MN"});
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.itemIndex(), -1);
    EXPECT_EQ(combo.text(), QStringLiteral("EF"));
    combo.setItemIndex(1);
    combo.removeItemAt(0);
    EXPECT_EQ(combo.currentIndex(), -1);
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(picks.back(), 0);

    // Appending to an empty list makes nothing current; to a list with a pick keeps it.
    combo.clearItems();
    combo.appendItem("AB");
    EXPECT_EQ(combo.currentIndex(), -1);
    combo.setItemIndex(0);
    combo.appendItem("CD");
    EXPECT_EQ(combo.currentIndex(), 0);
}

TEST_F(SubtitleComboTest, TheTextAreaShowsTheListsPointer) {
    registerCursor(1, QStringLiteral("CURSOR_1"), 0, 5);
    ASSERT_TRUE(isCursorRegistered(1));
    combo.setCursor(programCursor(1));
    EXPECT_EQ(combo.lineEdit()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(combo.lineEdit()->cursor().pixmap().cacheKey(), programCursor(1).pixmap().cacheKey());
    EXPECT_EQ(combo.lineEdit()->cursor().hotSpot(), QPoint(0, 5));
}
