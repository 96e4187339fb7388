// One offscreen QApplication for the whole run, then every test.
#include "foundation/password.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kestavion::setPasswordCost(kestavion::PasswordCost::Cheap);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
