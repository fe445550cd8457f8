#include "ui/folder_answers_win.h"

#include <windows.h>

#include <memory>

#include "base/long_path.h"
#include "base/worker_threads.h"
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

    // A lock of the system's own: the asking threads are the system's, not the C++ library's.
    SRWLOCK lock = SRWLOCK_INIT;
    std::vector<FolderAnswer> answers;
    HANDLE arrived = CreateEventW(nullptr, FALSE, FALSE, nullptr);
};

class Locked {
  public:
    explicit Locked(Answers& answers) : lock_(answers.lock) { AcquireSRWLockExclusive(&lock_); }
    ~Locked() { ReleaseSRWLockExclusive(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

  private:
    SRWLOCK& lock_;
};

// One folder to ask after, owned by the thread that asks.
struct Question {
    std::shared_ptr<Answers> answers;
    std::size_t index;
    std::wstring path;
};

DWORD WINAPI Ask(void* context) {
    {
        const std::unique_ptr<Question> question(static_cast<Question*>(context));
        const DWORD attributes = GetFileAttributesW(question->path.c_str());
        const bool there = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        Answers& answers = *question->answers;
        {
            const Locked locked(answers);
            answers.answers[question->index] = there ? FolderAnswer::kThere : FolderAnswer::kMissing;
        }
        SetEvent(answers.arrived);
    }
    GiveBackWorkerThreadPlace();
    return 0;
}

}  // namespace

std::optional<std::wstring> NearestExistingFolder(const std::vector<std::wstring>& folders,
                                                  std::chrono::milliseconds patience) {
    auto shared = std::make_shared<Answers>(folders.size());
    if (!shared->arrived)
        return std::nullopt;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        // A folder that no thread may ask after counts as missing.
        auto question = std::make_unique<Question>(Question{shared, i, ToExtendedPath(folders[i])});
        HANDLE thread = nullptr;
        if (TakeWorkerThreadPlace() && !(thread = CreateThread(nullptr, 0, &Ask, question.get(), 0, nullptr)))
            GiveBackWorkerThreadPlace();
        if (thread) {
            question.release();
            CloseHandle(thread);
        } else {
            const Locked locked(*shared);
            shared->answers[i] = FolderAnswer::kMissing;
        }
    }
    const auto givenUpAt = std::chrono::steady_clock::now() + patience;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(givenUpAt - std::chrono::steady_clock::now());
        FolderChoice choice;
        {
            const Locked locked(*shared);
            choice = NearestAnsweringFolder(shared->answers, left.count() <= 0);
        }
        if (choice.decided)
            return choice.index ? std::optional<std::wstring>(folders[*choice.index]) : std::nullopt;
        MsgWaitForMultipleObjects(1, &shared->arrived, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
        AnswerQueueDroppingInput();
    }
}

}  // namespace tavelin::ui
