// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    // Widget tests run without a display unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#ifdef Q_OS_WIN
    // There the offscreen platform finds fonts only in the folder this names.
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR")) {
        qputenv("QT_QPA_FONTDIR", qgetenv("WINDIR") + "\\Fonts");
    }
    // Death tests read the fatal message from the standard error, which is no console there.
    qputenv("QT_FORCE_STDERR_LOGGING", "1");
#endif
    testing::InitGoogleTest(&argc, argv);
    // Death tests re-run this program rather than fork a process that holds Qt's threads.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
