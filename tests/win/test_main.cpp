#include <gtest/gtest.h>
#include <windows.h>

#include <objbase.h>

// The test thread is the UI thread: the dialogs and the accessible objects under test are COM
// objects that want it in a single-threaded apartment, as the program's own entry puts it.
int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
