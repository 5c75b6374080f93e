#include "settings/ini_file.h"

#include <gtest/gtest.h>

using quillon::IniDocument;

namespace {
std::optional<QByteArray> read(const QByteArray& file, const char* section, const char* key) {
    return IniDocument::parse(file).value(section, key);
}
} // namespace

TEST(IniFile, FindsSectionsAndKeysWithoutRegardToAsciiCase) {
    const QByteArray file = "[option]\r\n  WAIT = 20 \r\n[Other]\r\nWait=99\r\n";
    EXPECT_EQ(read(file, "Option", "Wait"), QByteArray("20"));
    EXPECT_EQ(read(file, "OPTION", "wait"), QByteArray("20"));
    EXPECT_EQ(read(file, "Option", "Magnify"), std::nullopt);
    EXPECT_EQ(read(file, "Missing", "Wait"), std::nullopt);
    // Bytes above 0x7F are Shift-JIS, never folded (0xC1 is not 0xE1).
    EXPECT_EQ(read("[\xc1]\r\nk=1\r\n", "\xe1", "k"), std::nullopt);
    // Keys before any section belong to none; a line without "=" is no key.
    EXPECT_EQ(read("Wait=5\r\n[Option]\r\nWait\r\n", "Option", "Wait"), std::nullopt);
}

TEST(IniFile, FirstSectionAndFirstKeyWin) {
    const QByteArray file = "[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\nj=4\r\n";
    EXPECT_EQ(read(file, "A", "k"), QByteArray("1"));
    EXPECT_EQ(read(file, "A", "j"), std::nullopt);
}

TEST(IniFile, TrimsSpacesAndOnePairOfQuotes) {
    EXPECT_EQ(read("[S]\r\nk=\t a b \t\r\n", "S", "k"), QByteArray("a b"));
    EXPECT_EQ(read("[S]\r\nk=\" a \"\r\n", "S", "k"), QByteArray(" a "));
    EXPECT_EQ(read("[S]\r\nk='x'\r\n", "S", "k"), QByteArray("x"));
    EXPECT_EQ(read("[S]\r\nk=\"x'\r\n", "S", "k"), QByteArray("\"x'"));
    EXPECT_EQ(read("[S]\r\nk=\"\r\n", "S", "k"), QByteArray("\""));
    EXPECT_EQ(read("[S]\r\nk=\r\n", "S", "k"), QByteArray(""));
    EXPECT_EQ(read("[S]\r\nk=a=b\r\n", "S", "k"), QByteArray("a=b"));
}

TEST(IniFile, ValueBufferKeeps2047BytesAndNeverSplitsACharacter) {
    const QByteArray ascii(3000, 'a');
    EXPECT_EQ(read("[S]\r\nk=" + ascii, "S", "k")->size(), 2047);
    // 2046 single bytes then a double-byte character: it does not fit whole.
    const QByteArray mixed = QByteArray(2046, 'a') + "\x82\xa0" + "b";
    EXPECT_EQ(*read("[S]\r\nk=" + mixed, "S", "k"), QByteArray(2046, 'a'));
    EXPECT_EQ(read(QByteArray("[S]\r\nk=ab\0cd", 13), "S", "k"), QByteArray("ab"));
}

TEST(IniFile, AcceptsAnyLineEndAndWritesCrLf) {
    const auto doc = IniDocument::parse("[S]\nk=1\rj=2\r\n; note");
    EXPECT_EQ(doc.value("S", "j"), QByteArray("2"));
    EXPECT_EQ(doc.serialize(), QByteArray("[S]\r\nk=1\r\nj=2\r\n; note\r\n"));
    EXPECT_EQ(IniDocument::parse("").serialize(), QByteArray());
}

TEST(IniFile, WritingReplacesInsertsOrAppendsAndKeepsOtherLines) {
    auto doc = IniDocument::parse(
        "; mine\r\n[option]\r\n WAIT = 5 \r\nColour=red\r\n\r\n[Extra]\r\nx=\x82\xa0\r\n");
    ASSERT_TRUE(doc.setValue("Option", "Wait", "120"));
    ASSERT_TRUE(doc.setValue("Option", "Magnify", "70"));
    ASSERT_TRUE(doc.setValue("File", "UserFile", ""));
    EXPECT_EQ(doc.serialize(),
              QByteArray("; mine\r\n[option]\r\nWAIT=120\r\nColour=red\r\nMagnify=70\r\n\r\n"
                         "[Extra]\r\nx=\x82\xa0\r\n[File]\r\nUserFile=\r\n"));
}

TEST(IniFile, ValuesThatTrimmingWouldChangeAreQuotedAndReadBackUnchanged) {
    IniDocument doc;
    for (const QByteArray& v :
         {QByteArray(" lead"), QByteArray("trail\t"), QByteArray("\"q\""), QByteArray("'")}) {
        ASSERT_TRUE(doc.setValue("S", "k", v));
        EXPECT_EQ(IniDocument::parse(doc.serialize()).value("S", "k"), v);
    }
    EXPECT_FALSE(doc.setValue("S", "k", "a\r\nb=c"));
    EXPECT_FALSE(doc.setValue("S", "k", QByteArray("a\0b", 3)));
    EXPECT_EQ(doc.value("S", "k"), QByteArray("'"));
}
