// Test entry point: one application object for the whole run, as in the program.
#include <gtest/gtest.h>
#include <QtCore/QByteArray>

#ifdef TUNVEX_TEST_GUI
#include <QtWidgets/QApplication>
using TestApp = QApplication;
#else
#include <QtCore/QCoreApplication>
using TestApp = QCoreApplication;
#endif

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
