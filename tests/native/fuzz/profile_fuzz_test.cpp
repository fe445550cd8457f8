// A million settings files, well and badly formed, in every encoding, cut short and with bytes
// changed, and files of random bytes: reading never fails, a save keeps every line the program
// does not own in its order (random bytes as they were), and every value it writes reads back
// exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "fakes/settings_storage.h"
#include "settings/profile_document.h"
#include "settings/profile_encoding.h"
#include "settings/settings_table.h"

namespace tavelin {
namespace {

// In parts, each its own test with its own seed, so that the test run reports as it goes and can
// run them side by side.
constexpr int kParts = 20;
constexpr int kInputsPerPart = 50'000;

const std::array<std::wstring, 16> kLines = {
    L"[Form]",        L"[comp]", L"[SET]",    L"[User]", L"[Set", L"[]",  L"F1_X=1",  L" f1_sg0 = 2 ",
    L"FLD1=\"C:\\\"", L"FLD2",   L"; F1_Y=3", L"",       L"  ",   L"k=v", L"名前=値", L"x=\xD83D\xDE00",
};
const std::array<std::wstring, 6> kValues = {
    L"C:\\", L"", L"D:\\表計算\\ソフト\\", L"E:\\a¥b\\한글\\", L" 'x' ", L"C:\\\xD83D\xDE00\\é\\",
};
constexpr std::array<ProfileEncoding, 7> kEncodings = {
    ProfileEncoding::kCodePage,    ProfileEncoding::kUtf8,    ProfileEncoding::kUtf8Mark,    ProfileEncoding::kUtf16Le,
    ProfileEncoding::kUtf16LeMark, ProfileEncoding::kUtf16Be, ProfileEncoding::kUtf16BeMark,
};

struct Key {
    const wchar_t *section, *key;
};

std::vector<Key> OwnKeys() {
    std::vector<Key> keys;
    for (const NumericKey& k : kNumericKeys)
        keys.push_back({k.section, k.key});
    keys.push_back({kFolderSection, kSearchFolderKey});
    keys.push_back({kFolderSection, kTargetFolderKey});
    return keys;
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(L'\n', start);
        end = end == std::wstring::npos ? text.size() : end;
        std::wstring line = text.substr(start, end - start);
        if (end < text.size() && !line.empty() && line.back() == L'\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

wchar_t Folded(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// True when the line could be one of the keys the program writes, wherever it stands.
bool MayBeOwn(const std::wstring& line, const std::vector<Key>& keys) {
    const std::wstring_view spaces = L" \t\r\v\f";
    std::wstring_view name(line);
    name = name.substr(0, name.find(L'='));
    name.remove_prefix(std::min(name.size(), name.find_first_not_of(spaces)));
    name.remove_suffix(name.size() - std::min(name.size(), name.find_last_not_of(spaces) + 1));
    for (const Key& k : keys) {
        const std::wstring_view key = k.key;
        if (key.size() == name.size() && std::equal(key.begin(), key.end(), name.begin(),
                                                    [](wchar_t a, wchar_t b) { return Folded(a) == Folded(b); }))
            return true;
    }
    return false;
}

bool IsSubsequence(const std::vector<std::wstring>& part, const std::vector<std::wstring>& whole) {
    std::size_t i = 0;
    for (const std::wstring& line : whole) {
        if (i < part.size() && part[i] == line)
            ++i;
    }
    return i == part.size();
}

std::string Input(std::mt19937& random, test::FakeSettingsStorage& storage) {
    std::wstring text;
    for (int n = random() % 8; n > 0; --n) {
        if (random() % 4) {
            text += kLines[random() % kLines.size()];
        } else {
            for (int k = random() % 6; k > 0; --k)
                text.push_back(static_cast<wchar_t>(random() % 3 ? random() % 0x80 : random() % 0x10000));
        }
        text += random() % 2 ? L"\r\n" : L"\n";
    }
    std::string bytes = EncodeProfile(text, kEncodings[random() % kEncodings.size()], storage).value_or("");
    if (random() % 4 == 0 && !bytes.empty())
        bytes.resize(random() % bytes.size());
    for (int flips = random() % 8 == 0 ? 1 + random() % 3 : 0; flips > 0 && !bytes.empty(); --flips)
        bytes[random() % bytes.size()] = static_cast<char>(random());
    return bytes;
}

// 14 or 16 lines of random bytes, as a user's own section might hold after a bad copy.
std::string RandomLines(std::mt19937& random) {
    std::string bytes;
    for (int lines = random() % 2 ? 14 : 16; lines > 0; --lines) {
        for (int n = random() % 24; n > 0; --n) {
            const char c = static_cast<char>(random());
            bytes.push_back(c == '\n' ? '\x81' : c);
        }
        bytes += random() % 2 ? "\r\n" : "\n";
    }
    return bytes;
}

bool HoldsEscapes(const std::wstring& text) {
    return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0xDC80 && c <= 0xDCFF; });
}

bool IsUtf16(ProfileEncoding encoding) {
    return encoding != ProfileEncoding::kCodePage && encoding != ProfileEncoding::kUtf8 &&
           encoding != ProfileEncoding::kUtf8Mark;
}

class ProfileFuzz : public testing::TestWithParam<int> {};

TEST_P(ProfileFuzz, ASaveKeepsWhatItDoesNotOwnAndReadsBackWhatItWrote) {
    const std::vector<Key> keys = OwnKeys();
    test::FakeSettingsStorage storage;
    std::mt19937 random(20261208 + GetParam());
    int failures = 0;
    for (int input = 0; input < kInputsPerPart && failures < 5; ++input) {
        const bool randomLines = input % 8 == 0;
        const std::string bytes = randomLines ? RandomLines(random) : Input(random, storage);
        const DecodedProfile decoded = DecodeProfile(bytes, storage);
        ProfileDocument file(decoded.text);
        std::vector<std::wstring> values;
        for (const Key& k : keys) {
            values.push_back(kValues[random() % kValues.size()]);
            file.Set(k.section, k.key, values.back());
        }
        const std::wstring text = file.Text();
        // As a save does: another encoding only for a file whose text holds all its bytes.
        std::optional<std::string> saved;
        if (decoded.rewrite != ProfileRewrite::kNever)
            saved = EncodeProfile(text, decoded.encoding, storage);
        const bool converted = !saved && decoded.rewrite == ProfileRewrite::kAnyEncoding;
        if (converted)
            saved = EncodeProfile(text, ProfileEncoding::kUtf16LeMark, storage);
        // Bytes that stand for themselves mean nothing in another encoding.
        if (converted && HoldsEscapes(decoded.text) && !IsUtf16(decoded.encoding)) {
            ++failures;
            ADD_FAILURE() << "input " << input << " converted with stray bytes: " << testing::PrintToString(bytes);
        }
        if (!saved) {
            if (decoded.rewrite == ProfileRewrite::kAnyEncoding) {
                ++failures;
                ADD_FAILURE() << "input " << input << " not saved: " << testing::PrintToString(bytes);
            }
            continue;
        }
        // Random bytes hold none of the program's sections, so its lines go after them.
        if (randomLines && !converted && !saved->starts_with(bytes)) {
            ++failures;
            ADD_FAILURE() << "input " << input << " lost bytes: " << testing::PrintToString(bytes);
        }
        const ProfileDocument reread(DecodeProfile(*saved, storage).text);
        bool whole = reread.Text() == text;
        for (std::size_t i = 0; i < keys.size(); ++i)
            whole = whole && reread.Get(keys[i].section, keys[i].key) == values[i];
        std::vector<std::wstring> others;
        for (const std::wstring& line : Lines(decoded.text)) {
            if (!MayBeOwn(line, keys))
                others.push_back(line);
        }
        if (!whole || !IsSubsequence(others, Lines(text))) {
            ++failures;
            ADD_FAILURE() << "input " << input << ": " << testing::PrintToString(bytes);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Part, ProfileFuzz, testing::Range(0, kParts));

}  // namespace
}  // namespace tavelin
