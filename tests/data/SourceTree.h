#pragma once

#include <QString>

// The source tree the tests read: VANTOR_SOURCE_DIR of the test environment, else the tree
// this test was built from.
inline QString SourceTree() {
    const QString fromEnvironment = qEnvironmentVariable("VANTOR_SOURCE_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(VANTOR_TEST_SOURCE_DIR) : fromEnvironment;
}
