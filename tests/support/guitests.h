#pragma once

#include <QApplication>
#include <gtest/gtest.h>

namespace testsupport {

// Runs the tests with one application object for the whole run, never on a real window
// system or sound card.
inline int RunGuiTests(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("PARLANTOGRAPHER_AUDIO"))
        qputenv("PARLANTOGRAPHER_AUDIO", "sim");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

} // namespace testsupport
