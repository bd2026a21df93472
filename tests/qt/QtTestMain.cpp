// The main() of every Qt test program: GoogleTest first (so that --gtest_list_tests works
// without a display), then one QApplication for the whole program on the offscreen platform
// unless another one is asked for.

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
