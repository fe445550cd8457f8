#include <gtest/gtest.h>
#include <windows.h>

#include "listing/header_sort.h"
#include "platform/text_services_win.h"
#include "support/local_time.h"

namespace tavelin {
namespace {

class TextServicesTest : public ::testing::Test {
  protected:
    TextServicesWin text;
};

TEST_F(TextServicesTest, UpperCasesByTheLocaleIncludingFullWidthLetters) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L".txt", L".TXT"},
        {L"Mixed.CpP", L"MIXED.CPP"},
        {L"`az{@AZ[~", L"`AZ{@AZ[~"},
        {L"ａｂｃ.txt", L"ＡＢＣ.TXT"},
        {L"\u00e9t\u00e9", L"\u00c9T\u00c9"},
        {L"日本語ｶﾅ.md", L"日本語ｶﾅ.MD"},
        {L"", L""},
    };
    for (const auto& [text_, upper] : cases)
        EXPECT_EQ(text.UpperCase(text_), upper);
}

TEST_F(TextServicesTest, CodePageBytesAreShiftJis) {
    ASSERT_EQ(GetACP(), 932u) << "the Japanese locale is not in effect";
    const std::pair<std::wstring, std::string> cases[] = {
        {L"A", "A"}, {L"日本", "\x93\xfa\x96\x7b"}, {L"ア", "\x83\x41"}, {L"ｱ", "\xb1"}, {L"Ａ", "\x82\x60"}, {L"", ""},
    };
    for (const auto& [wide, bytes] : cases)
        EXPECT_EQ(text.CodePageBytes(wide), bytes);
}

TEST_F(TextServicesTest, SortKeyIsTheCodePageBytesOfTheUpperCasedText) {
    const std::wstring texts[] = {L"",
                                  L"a",
                                  L"`az{@AZ[~\\",
                                  L"ｂ.txt",
                                  L"亜.Txt",
                                  std::wstring(127, L'x'),
                                  std::wstring(128, L'ｙ'),
                                  std::wstring(129, L'z') + L"日本"};
    for (const std::wstring& t : texts)
        EXPECT_EQ(text.SortKey(t), text.CodePageBytes(text.UpperCase(t))) << t.size() << " characters";
}

TEST_F(TextServicesTest, SortKeysKeepShiftJisOrder) {
    // In UTF-16 the kanji would come before the full-width letter; in Shift-JIS it comes after.
    FileGrid grid;
    grid.SetRowCount(5);
    const wchar_t* names[] = {L"亜.txt", L"ｂ.txt", L"Ａ.txt", L"a.txt"};
    for (int row = 1; row < 5; ++row)
        grid.SetCell(0, row, names[row - 1]);
    SortRows(grid, 0, SortDirection::kAscending, HeaderSortKey(text));
    EXPECT_EQ(grid.Cell(0, 1), L"a.txt");
    EXPECT_EQ(grid.Cell(0, 2), L"Ａ.txt");
    EXPECT_EQ(grid.Cell(0, 3), L"ｂ.txt");
    EXPECT_EQ(grid.Cell(0, 4), L"亜.txt");
}

TEST_F(TextServicesTest, StampRoundsSecondsDownToEven) {
    struct Case {
        WORD year, month, day, hour, minute, second;
        StampTime stamp;
    };
    const Case cases[] = {
        {2024, 3, 1, 13, 45, 7, {2024, 3, 1, 13, 45, 6}},
        {2024, 3, 1, 13, 45, 6, {2024, 3, 1, 13, 45, 6}},
        {1980, 1, 1, 0, 0, 1, {1980, 1, 1, 0, 0, 0}},
        {2107, 12, 31, 23, 59, 59, {2107, 12, 31, 23, 59, 58}},
        {2000, 2, 29, 12, 0, 3, {2000, 2, 29, 12, 0, 2}},
        {2100, 3, 1, 0, 0, 0, {2100, 3, 1, 0, 0, 0}},
        // Outside the file stamp's years: still the real date.
        {1979, 12, 31, 23, 59, 59, {1979, 12, 31, 23, 59, 58}},
        {1970, 6, 15, 10, 20, 31, {1970, 6, 15, 10, 20, 30}},
        {2108, 1, 1, 0, 0, 1, {2108, 1, 1, 0, 0, 0}},
        {9999, 12, 31, 23, 59, 59, {9999, 12, 31, 23, 59, 58}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text.LocalStamp(test::TicksOfLocal(c.year, c.month, c.day, c.hour, c.minute, c.second)), c.stamp)
            << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute << ":" << c.second;
    }
}

TEST_F(TextServicesTest, TimesBeyondYear9999ClampAndTheEarliestTimeIsReal) {
    const StampTime latest{9999, 12, 31, 23, 59, 58};
    EXPECT_EQ(text.LocalStamp(test::TicksOfLocal(30000, 1, 1, 0, 0, 0)), latest);
    EXPECT_EQ(text.LocalStamp(0x7FFFFFFFFFFFFFFFull), latest);
    EXPECT_EQ(text.LocalStamp(0xFFFFFFFFFFFFFFFFull), latest);
    const StampTime earliest = text.LocalStamp(0);
    EXPECT_EQ(earliest.year, 1601);
    EXPECT_EQ(earliest.month, 1);
    EXPECT_EQ(earliest.second % 2, 0);
}

TEST_F(TextServicesTest, SeparatorsComeFromTheLocale) {
    wchar_t date[8] = {};
    wchar_t time[8] = {};
    ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDATE, date, 8), 0);
    ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, time, 8), 0);
    EXPECT_EQ(text.DateSeparator(), date[0]);
    EXPECT_EQ(text.TimeSeparator(), time[0]);
    // The Japanese locale that the program is built for.
    EXPECT_EQ(text.DateSeparator(), L'/');
    EXPECT_EQ(text.TimeSeparator(), L':');
}

}  // namespace
}  // namespace tavelin
