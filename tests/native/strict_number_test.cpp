#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

#include "base/strict_number.h"

namespace tavelin {
namespace {

struct ConversionCase {
    const wchar_t* text;
    std::optional<std::int32_t> expected;
};

TEST(StrictIntConversion, FollowsTheRulesForEachForm) {
    const ConversionCase cases[] = {
        {L"0", 0},
        {L"123", 123},
        {L"+123", 123},
        {L"-123", -123},
        {L"007", 7},
        {L"   42", 42},
        {L"  -8", -8},
        {L"42 ", std::nullopt},
        {L"4 2", std::nullopt},
        {L"12abc", std::nullopt},
        {L"abc", std::nullopt},
        {L"\t5", std::nullopt},
        {L"", std::nullopt},
        {L"   ", std::nullopt},
        {L"+", std::nullopt},
        {L"-", std::nullopt},
        {L"+-1", std::nullopt},
        {L"- 1", std::nullopt},
        {L"1.0", std::nullopt},
        {L"１２", std::nullopt},
        {L"2147483647", 2147483647},
        {L"2147483648", std::nullopt},
        {L"-2147483648", INT32_MIN},
        {L"-2147483649", std::nullopt},
        {L"99999999999999999999", std::nullopt},
        {L"000000000000000000001", 1},
        {L"$10", 16},
        {L"x1f", 31},
        {L"X1F", 31},
        {L"0x7fffffff", 2147483647},
        {L"0XABC", 0xABC},
        {L"  $ff", 255},
        {L"$FFFFFFFF", -1},
        {L"$80000000", INT32_MIN},
        {L"$00000001", 1},
        {L"$000000001", std::nullopt},
        {L"$100000000", std::nullopt},
        {L"$", std::nullopt},
        {L"0x", std::nullopt},
        {L"x", std::nullopt},
        {L"-$1", std::nullopt},
        {L"+0x1", std::nullopt},
        {L"$1g", std::nullopt},
        {L"$ 1", std::nullopt},
        {L"0$1", std::nullopt},
        {L"00x1", std::nullopt},
        {L"$-1", std::nullopt},
    };
    for (const ConversionCase& c : cases)
        EXPECT_EQ(ParseStrictInt(c.text), c.expected)
            << "text: '" << testing::PrintToString(std::wstring(c.text)) << "'";
}

TEST(StrictIntConversion, RefusedTextRaisesConvertErrorQuotingIt) {
    try {
        StrToInt(L" 12ab");
        FAIL() << "no ConvertError";
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.Message(), L"' 12ab' は整数ではありません");
    }
    EXPECT_EQ(StrToInt(L"$FFFFFFFE"), -2);
    EXPECT_THROW(StrToInt(L""), ConvertError);
}

// An independent reading of the same rules through the C library, for the fuzz loop below.
std::optional<std::int32_t> ReferenceParse(const std::string& text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos)
        return std::nullopt;
    std::string rest = text.substr(i);
    std::string hex;
    if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')
        hex = rest.substr(1);
    else if (rest.rfind("0x", 0) == 0 || rest.rfind("0X", 0) == 0)
        hex = rest.substr(2);
    else {
        std::size_t digits = rest[0] == '+' || rest[0] == '-' ? 1 : 0;
        if (digits == rest.size() || rest.find_first_not_of("0123456789", digits) != std::string::npos)
            return std::nullopt;
        errno = 0;
        long long value = std::strtoll(rest.c_str(), nullptr, 10);
        if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
            return std::nullopt;
        return static_cast<std::int32_t>(value);
    }
    if (hex.empty() || hex.size() > 8 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return std::nullopt;
    unsigned long value = std::strtoul(hex.c_str(), nullptr, 16);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

TEST(StrictIntConversion, AgreesWithAReferenceOnAMillionRandomTexts) {
    // Weighted towards the characters that matter, so most texts come close to being valid.
    const std::string alphabet = "  0123456789999+-$xX0aAfFgG.";
    std::mt19937 random(20240607);
    std::uniform_int_distribution<std::size_t> length(0, 14);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    int accepted = 0;
    for (int round = 0; round < 1000000; ++round) {
        std::string text(length(random), ' ');
        for (char& c : text)
            c = alphabet[pick(random)];
        std::optional<std::int32_t> expected = ReferenceParse(text);
        std::optional<std::int32_t> actual = ParseStrictInt(std::wstring(text.begin(), text.end()));
        ASSERT_EQ(actual, expected) << "text: '" << text << "'";
        accepted += actual.has_value();
    }
    // Both outcomes must be well represented, or the loop proves little.
    EXPECT_GT(accepted, 20000);
    EXPECT_LT(accepted, 980000);
}

}  // namespace
}  // namespace tavelin
