#pragma once

#include <QString>

namespace vastel::test {

// Empties and recreates the sandbox folders that ctest points HOME, XDG_* and TMPDIR at.
// Refuses to run (aborts) when VASTEL_TEST_SANDBOX is not set, so a test started by hand
// cannot write into the real user's folders.
void prepareSandbox();
QString sandboxRoot();

}  // namespace vastel::test

// A Qt Test main that prepares the sandbox first.
#define VASTEL_QTEST_MAIN(TestClass)             \
    int main(int argc, char** argv) {            \
        vastel::test::prepareSandbox();          \
        QApplication app(argc, argv);            \
        app.setAttribute(Qt::AA_Use96Dpi, true); \
        TestClass tc;                            \
        QTEST_SET_MAIN_SOURCE_PATH               \
        return QTest::qExec(&tc, argc, argv);    \
    }
