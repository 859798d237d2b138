// Test entry point: one application object for the whole run, as in the program.
#include <gtest/gtest.h>
#include <QtCore/QByteArray>
#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>

#include <cstdio>

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
    // Nothing a test writes may reach the user's own folders: Qt's settings
    // (the colour dialog keeps its custom colours there), the data folder and
    // our settings store all live under a folder of this run, set before the
    // application object reads them.
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "No temporary folder for the test run\n");
        return 1;
    }
    for (const char *folder : {"config", "data", "cache", "tunvex"})
        QDir(home.path()).mkpath(QString::fromLatin1(folder));
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toUtf8());
    qputenv("TUNVEX_CONFIG_DIR", home.filePath(QStringLiteral("tunvex")).toUtf8());
    TestApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
