#include "filters/shared/parallel/RowBands.h"

#include <QApplication>

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
// LeakSanitizer leaves thread-local storage unscanned here: on this glibc its walk of
// the storage of libraries loaded later (Qt's image plug-ins) reads a stale entry and
// crashes the leak check itself. Not scanning it can only report more, not less; glib,
// which Qt's event loop brings in, is the one library that keeps memory only there.
extern "C" const char* __lsan_default_options()
{
    return "use_tls=0";
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libglib-2.0.so\n";
}
#endif

// Dialog tests need an application object; the offscreen platform needs no display.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    // The suites follow progress row by row and stop at given rows, as one thread
    // tells them; the tests of several threads set their count themselves, and the
    // command-line tests run every filter with several.
    SetKernelThreadCount(1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
