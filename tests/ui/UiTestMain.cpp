#include <gtest/gtest.h>

#include <QApplication>

// The window tests run on the offscreen platform unless the caller names another, so that they
// need no display (test discovery runs this program at build time).
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
