#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/dialog_watcher.h"
#include "support/owner_window.h"
#include "ui/message_dialog_win.h"

namespace tavelin {
namespace {

using test::Answer;
using test::DialogWatcher;
using ui::MessageKind;

struct DialogCase {
    const char* name;
    MessageKind kind;
    Answer answer;
    int expectedResult;
};

struct KindLook {
    MessageKind kind;
    const wchar_t* caption;
    std::vector<std::pair<int, std::wstring>> buttons;  // id and text, left to right
};

TEST(MessageDialog, EachFormHasItsCaptionButtonsAndDefault) {
    const KindLook looks[] = {
        {MessageKind::Information, L"情報", {{IDOK, L"OK"}}},
        {MessageKind::Error, L"エラー", {{IDOK, L"OK"}}},
        {MessageKind::Confirmation, L"確認", {{IDYES, L"はい(&Y)"}, {IDNO, L"いいえ(&N)"}}},
    };
    test::OwnerWindow owner;
    for (const KindLook& look : looks) {
        DialogWatcher watcher({Answer::Button(look.buttons.front().first)});
        ui::MessageDlg(owner.Handle(), L"本文のテキスト", look.kind);
        ASSERT_EQ(watcher.Count(), 1u);
        const test::SeenDialog& seen = watcher.Seen(0);
        EXPECT_EQ(seen.caption, look.caption);
        ASSERT_EQ(seen.buttons.size(), look.buttons.size()) << testing::PrintToString(std::wstring(look.caption));
        for (std::size_t i = 0; i < look.buttons.size(); ++i) {
            EXPECT_EQ(seen.buttons[i].id, look.buttons[i].first);
            EXPECT_EQ(seen.buttons[i].text, look.buttons[i].second);
        }
        EXPECT_EQ(seen.staticTexts, std::vector<std::wstring>{L"本文のテキスト"});
        EXPECT_EQ(seen.focusedId, look.buttons.front().first);
        EXPECT_EQ(seen.owner, owner.Handle());
        EXPECT_FALSE(seen.ownerEnabled) << "the owner must be disabled while the dialog is up";
        EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    }
}

TEST(MessageDialog, EachAnswerGivesItsResult) {
    const DialogCase cases[] = {
        {"information OK", MessageKind::Information, Answer::Button(IDOK), 1},
        {"information Esc", MessageKind::Information, Answer::Escape(), 1},
        {"information close box", MessageKind::Information, Answer::Close(), 2},
        {"error OK", MessageKind::Error, Answer::Button(IDOK), 1},
        {"error Esc", MessageKind::Error, Answer::Escape(), 1},
        {"confirmation yes", MessageKind::Confirmation, Answer::Button(IDYES), 6},
        {"confirmation no", MessageKind::Confirmation, Answer::Button(IDNO), 7},
        {"confirmation Esc", MessageKind::Confirmation, Answer::Escape(), 7},
        {"confirmation close box", MessageKind::Confirmation, Answer::Close(), 2},
    };
    test::OwnerWindow owner;
    for (const DialogCase& c : cases) {
        DialogWatcher watcher({c.answer});
        EXPECT_EQ(ui::MessageDlg(owner.Handle(), L"終了します。よろしいですか？", c.kind), c.expectedResult) << c.name;
        EXPECT_TRUE(watcher.Done()) << c.name;
        EXPECT_EQ(watcher.Unexpected(), 0u) << c.name;
    }
}

TEST(MessageDialog, IsCentredOnItsOwnersWorkAreaAndWrapsLongText) {
    test::OwnerWindow owner(0, 0, 200, 150);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int screenWidth = work.right - work.left;
    std::wstring longText;
    for (int i = 0; i < 40; ++i)
        longText += L"とても長い説明の文です。";
    for (const std::wstring& text : {std::wstring(L"短い"), longText}) {
        DialogWatcher watcher({Answer::Button(IDOK)});
        ui::MessageDlg(owner.Handle(), text, MessageKind::Information);
        ASSERT_EQ(watcher.Count(), 1u);
        const RECT r = watcher.Seen(0).rect;
        EXPECT_NEAR((r.left + r.right) / 2, (work.left + work.right) / 2, 1);
        EXPECT_NEAR((r.top + r.bottom) / 2, (work.top + work.bottom) / 2, 1);
        EXPECT_LT(r.right - r.left, screenWidth * 3 / 4) << "the text must wrap rather than widen the dialog";
        EXPECT_EQ(watcher.Seen(0).staticTexts, std::vector<std::wstring>{text});
    }
}

}  // namespace
}  // namespace tavelin
