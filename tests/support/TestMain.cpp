// The main of every test program. It sets what the tests expect of their environment when the
// caller has not, so a test binary behaves the same under ctest and when run by hand:
// widgets draw offscreen, and VANTOR_SOURCE_DIR / VANTOR_BINARY_DIR name the tree and build.

#include <QCoreApplication>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("VANTOR_SOURCE_DIR", VANTOR_TEST_MAIN_SOURCE_DIR, 0);
    setenv("VANTOR_BINARY_DIR", VANTOR_TEST_MAIN_BINARY_DIR, 0);
    testing::InitGoogleMock(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // The tests make the application and keep it; ended here as the program ends its own, Qt's
    // post routines run and the work they stop (pictures still decoding on the skin cache's
    // worker, Qt's own threads) has finished before the exit tears the libraries down.
    delete QCoreApplication::instance();
    return result;
}
