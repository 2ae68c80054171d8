#pragma once

// Every test includes this header first: it brings Qt Core and Qt Test whole and the u"..."_s
// literals, so that a test's own includes name only what it tests.
#include <QtTest>

using namespace Qt::StringLiterals;

// Points HOME and every XDG folder at a fresh temporary folder for the life of the
// test process, so that settings, logs, relay sockets and autostart entries written by
// the code under test (or by processes the test starts) never reach the real home.
class TestEnvironment
{
public:
    static void install();
    static QString root();
    static QString configHome() { return root() + QStringLiteral("/config"); }
    static QString stateHome() { return root() + QStringLiteral("/state"); }
    static QString dataHome() { return root() + QStringLiteral("/data"); }
    static QString runtimeDir() { return root() + QStringLiteral("/runtime"); }
    // Where the built executables are (vn10, vanisto-shred ...).
    static QString binDir();
};

// Like QTEST_MAIN / QTEST_GUILESS_MAIN, with the temporary folders installed first.
#define VANISTO_TEST_MAIN_IMPL(TestObject, AppClass)                                                         \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        TestEnvironment::install();                                                                          \
        AppClass app(argc, argv);                                                                            \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }

#define VANISTO_TEST_GUILESS_MAIN(TestObject) VANISTO_TEST_MAIN_IMPL(TestObject, QCoreApplication)
#define VANISTO_TEST_GUI_MAIN(TestObject) VANISTO_TEST_MAIN_IMPL(TestObject, QApplication)
