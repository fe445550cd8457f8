#include "settings/profile_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fakes/settings_storage.h"
#include "settings/profile_encoding.h"

namespace tavelin {
namespace {

TEST(ProfileDocument, FindsAValueAsThePrivateProfileFunctionsDo) {
    const ProfileDocument file(
        L"F1_X=1\r\n[form]\r\n  f1_x =  2  \r\nF1_X=3\r\nF1_Y=\"  quoted  \"\r\nF1_W='\r\nF1_H\r\n; F1_P1=4\r\n"
        L"[Set\r\nFLD1=6\r\n[Form]\r\nF1_P1=5\r\n[Comp]x]\r\nF1_SG0=a=b\n[ Set ]\nFLD2=7");
    const struct {
        const wchar_t *section, *key;
        std::optional<std::wstring> value;
    } cases[] = {
        {L"Form", L"F1_X", L"2"},       {L"Form", L"F1_Y", L"  quoted  "}, {L"Form", L"F1_W", L"'"},
        {L"Form", L"F1_H", L""},        {L"Form", L"F1_P1", std::nullopt},  // only the first section of a name counts
        {L"Form", L"FLD1", L"6"},                                           // "[Set" opens no section
        {L"Comp]x", L"F1_SG0", L"a=b"}, {L"Set", L"FLD2", std::nullopt},   {L" Set ", L"FLD2", L"7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(file.Get(c.section, c.key), c.value) << testing::PrintToString(std::wstring(c.key));
}

TEST(ProfileDocument, SettingAValueChangesOnlyItsOwnLine) {
    const struct {
        std::wstring before, section, key, value, after;
    } cases[] = {
        {L"[Form]\r\nF1_X = 1 \r\n", L"Form", L"f1_x", L"20", L"[Form]\r\nF1_X = 20\r\n"},
        {L"[Form]\r\nF1_X\r\n", L"Form", L"F1_X", L"2", L"[Form]\r\nF1_X=2\r\n"},
        {L"[Form]\nA=1\n\n; c\n\n[Set]\n", L"Form", L"B", L"2", L"[Form]\nA=1\n\n; c\nB=2\n\n[Set]\n"},
        {L"[Form]", L"Form", L"B", L"2", L"[Form]\r\nB=2\r\n"},
        {L"x=1\n[User]\nk=v", L"Set", L"FLD1", L"C:\\", L"x=1\n[User]\nk=v\n[Set]\nFLD1=C:\\\n"},
        {L"", L"Set", L"FLD1", L" C:\\ ", L"[Set]\r\nFLD1=\" C:\\ \"\r\n"},
        {L"[Set]\r\nFLD1=\"C:\\\"\r\n", L"Set", L"FLD1", L"C:\\", L"[Set]\r\nFLD1=\"C:\\\"\r\n"},
    };
    for (const auto& c : cases) {
        ProfileDocument file(c.before);
        file.Set(c.section, c.key, c.value);
        EXPECT_EQ(file.Text(), c.after) << testing::PrintToString(c.before);
        EXPECT_EQ(file.Changed(), c.after != c.before);
        EXPECT_EQ(file.Get(c.section, c.key), c.value);
    }
}

// Bytes that are no character of the file's encoding stand for themselves (0xDC00 + the byte),
// so that a save gives them back; a file holding them may then be written in its own encoding
// only.
TEST(ProfileEncoding, EditorsAndWindowsFilesAreRecognisedAndDecoded) {
    test::FakeSettingsStorage storage;
    constexpr ProfileRewrite kAny = ProfileRewrite::kAnyEncoding, kOwn = ProfileRewrite::kOwnEncodingOnly;
    const struct {
        std::string bytes;
        ProfileEncoding encoding;
        std::wstring text;
        ProfileRewrite rewrite;
    } cases[] = {
        {std::string("\xFF\xFE[\0\x00\xD8=\0", 8), ProfileEncoding::kUtf16LeMark, L"[\xD800=", kAny},
        {std::string("\xFE\xFF\0[\xAC\0", 6), ProfileEncoding::kUtf16BeMark, L"[\xAC00", kAny},
        // Half a unit at the end cannot be held.
        {std::string("\xFF\xFE[\0S", 5), ProfileEncoding::kUtf16LeMark, L"[", ProfileRewrite::kNever},
        {"\xEF\xBB\xBF[\xE6\x97\xA5\xFF]", ProfileEncoding::kUtf8Mark, L"[日\xDCFF]", kOwn},
        {std::string("[\0S\0", 4), ProfileEncoding::kUtf16Le, L"[S", kAny},
        {std::string("\0[\0S", 4), ProfileEncoding::kUtf16Be, L"[S", kAny},
        // An odd length is no UTF-16: the NUL is a byte of the code page.
        {std::string("[\0S\0=", 5), ProfileEncoding::kCodePage, std::wstring(L"[\0S\0=", 5), kAny},
        {"[\xF0\x9F\x98\x80]", ProfileEncoding::kUtf8, L"[\xD83D\xDE00]", kAny},
        {"[\xC3\xA9", ProfileEncoding::kUtf8, L"[é", kAny},
        // An editor's UTF-8 with a stray byte; one sequence among as many strays is the code page's.
        {"[\xE6\x97\xA5\xE6\x9C\xAC\xFF]", ProfileEncoding::kUtf8, L"[日本\xDCFF]", kOwn},
        {"[\xC3\xA9\xFF]", ProfileEncoding::kCodePage, L"[\xC3\xA9\xFF]", kAny},
        {"[\xED\xA0\x80]", ProfileEncoding::kCodePage, L"[\xED\xA0\x80]", kAny},  // a surrogate is not UTF-8
        {"[\xC0\xAF]", ProfileEncoding::kCodePage, L"[\xC0\xAF]", kAny},          // nor an overlong "/"
        {"[\x81\x80\x90\x80]", ProfileEncoding::kCodePage, L"[\x0200]", kAny},
        // A line that does not decode, or decodes to a character written otherwise, keeps its
        // bytes; its line end and "=" stay what they are, and the other lines are text.
        {"lead=\x81\r\nk\x81=v\r\n[\x81\x80\x90\x80]\n[\x81\x80\x80\x85]", ProfileEncoding::kCodePage,
         L"lead=\xDC81\r\nk\xDC81=v\r\n[\x0200]\n[\xDC81\xDC80\xDC80\xDC85]", kOwn},
        {"[Set]", ProfileEncoding::kCodePage, L"[Set]", kAny},
        {"", ProfileEncoding::kCodePage, L"", kAny},
    };
    for (const auto& c : cases) {
        const DecodedProfile decoded = DecodeProfile(c.bytes, storage);
        EXPECT_EQ(decoded.encoding, c.encoding) << testing::PrintToString(c.bytes);
        EXPECT_EQ(decoded.text, c.text) << testing::PrintToString(c.bytes);
        EXPECT_EQ(decoded.rewrite, c.rewrite) << testing::PrintToString(c.bytes);
        if (c.rewrite != ProfileRewrite::kNever) {
            EXPECT_EQ(EncodeProfile(decoded.text, decoded.encoding, storage), c.bytes);
        }
    }
}

}  // namespace
}  // namespace tavelin
