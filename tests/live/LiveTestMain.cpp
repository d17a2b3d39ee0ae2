#include <gtest/gtest.h>

#include <QCoreApplication>

// The pipeline's tests need an event loop and no display; in the C locale, so that the
// machine's own cannot change how the bar files read.
int main(int argc, char* argv[]) {
    qputenv("LC_ALL", "C");
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
