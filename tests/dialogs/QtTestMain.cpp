// The Qt tests run offscreen, in a sandbox of temporary folders and without any D-Bus.
#include "CQtSandbox.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    EnterQtSandbox(true);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
