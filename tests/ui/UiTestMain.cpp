#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

// The window tests run on the offscreen platform unless the caller names another, so that they
// need no display (test discovery runs this program at build time), and in the C locale, which
// their bar files are written for. The user's home is an empty folder of the run's own, so that
// whatever the windows write there is seen and the real home stays untouched.
int main(int argc, char* argv[]) {
    qputenv("LC_ALL", "C");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QTemporaryDir home;
    if (!home.isValid()) {
        return EXIT_FAILURE;
    }
    qputenv("HOME", QFile::encodeName(home.path()));
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "LANGUAGE"}) {
        qunsetenv(name);
    }
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
