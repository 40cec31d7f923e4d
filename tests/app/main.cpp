#include <QApplication>
#include <gtest/gtest.h>

// Widget tests need one application object for the whole run. They never touch a real
// window system or sound card, whatever the calling environment says otherwise.
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
