#include <QApplication>
#include <gtest/gtest.h>

// One application object for the whole run, never on a real window system or sound card.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("PARLANTOGRAPHER_AUDIO"))
        qputenv("PARLANTOGRAPHER_AUDIO", "sim");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
