#include <windows.h>

#include <exception>
#include <string>

#include "base/wide_error.h"
#include "ui/application_win.h"
#include "ui/window_win.h"

// In a file of its own, so that a test program without the application object can link its
// own stand-in instead.
namespace tavelin::ui {

namespace {

std::wstring FromAnsi(const char* text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring result(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_ACP, 0, text, -1, result.data(), n);
    return result;
}

}  // namespace

// The text of the exception being handled.
std::wstring CurrentExceptionText() {
    try {
        throw;
    } catch (const WideError& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return FromAnsi(e.what());
    } catch (...) {
        return L"Unknown error";
    }
}

void ReportHandlerException() noexcept {
    try {
        Application::Instance().PostErrorBox(CurrentExceptionText());
    } catch (...) {
        // Showing the error failed too; there is nothing left to tell the user with.
    }
}

void ShowHandlerException() noexcept {
    try {
        Application::Instance().ShowErrorBox(CurrentExceptionText());
    } catch (...) {
        // As above.
    }
}

}  // namespace tavelin::ui
