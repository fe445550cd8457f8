#include "ui/folder_answers_win.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <thread>

#include "base/long_path.h"
#include "ui/event_pump.h"
#include "ui/file_dialog_layout.h"

namespace tavelin::ui {

namespace {

// What the window and the asking threads share; a thread still waiting on a server keeps it.
struct Answers {
    explicit Answers(std::size_t count) : answers(count, FolderAnswer::kPending) {}
    ~Answers() { CloseHandle(arrived); }
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;

    std::mutex mutex;
    std::vector<FolderAnswer> answers;
    HANDLE arrived = CreateEventW(nullptr, FALSE, FALSE, nullptr);
};

}  // namespace

std::optional<std::wstring> NearestExistingFolder(const std::vector<std::wstring>& folders,
                                                  std::chrono::milliseconds patience) {
    auto shared = std::make_shared<Answers>(folders.size());
    if (!shared->arrived)
        return std::nullopt;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        std::thread([shared, i, path = ToExtendedPath(folders[i])] {
            const DWORD attributes = GetFileAttributesW(path.c_str());
            const bool there = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
            {
                std::lock_guard lock(shared->mutex);
                shared->answers[i] = there ? FolderAnswer::kThere : FolderAnswer::kMissing;
            }
            SetEvent(shared->arrived);
        }).detach();
    }
    const auto givenUpAt = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(givenUpAt - std::chrono::steady_clock::now());
        FolderChoice choice;
        {
            std::lock_guard lock(shared->mutex);
            choice = NearestAnsweringFolder(shared->answers, left.count() <= 0);
        }
        if (choice.decided)
            return choice.index ? std::optional<std::wstring>(folders[*choice.index]) : std::nullopt;
        MsgWaitForMultipleObjects(1, &shared->arrived, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
        AnswerQueueDroppingInput();
    }
}

}  // namespace tavelin::ui
