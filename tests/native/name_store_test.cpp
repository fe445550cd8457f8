#include "tree/name_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavelin {
namespace {

TEST(NameStore, EveryNameComesBackWholeAndEqualNamesShareOneId) {
    // Lengths around the one-unit length limit and around a block; a surrogate pair and an unpaired
    // surrogate; enough short names to fill several blocks.
    std::vector<std::wstring> names{L"",
                                    L"a",
                                    L"新しいフォルダー",
                                    L"\U0001F600x",
                                    std::wstring(1, wchar_t(0xD800)),
                                    std::wstring(0x7FFF, L'b'),
                                    std::wstring(0x8000, L'c'),
                                    std::wstring(70000, L'd')};
    for (int i = 0; i < 40000; ++i)
        names.push_back(L"n" + std::to_wstring(i));
    NameStore store;
    std::vector<NameId> ids;
    for (const auto& name : names)
        ids.push_back(store.Intern(name));
    for (std::size_t i = 0; i < names.size(); ++i) {
        ASSERT_EQ(store.Text(ids[i]), names[i]) << "name " << i;
        ASSERT_EQ(store.Intern(names[i]), ids[i]) << "name " << i;
    }
    store.Clear();
    EXPECT_EQ(store.Text(store.Intern(L"x")), L"x");
}

}  // namespace
}  // namespace tavelin
