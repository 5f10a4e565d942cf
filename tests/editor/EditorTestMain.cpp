#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The editor remembers settings with QSettings: the tests keep theirs in a folder of
// their own, never in the user's.
int main(int argc, char** argv)
{
    QTemporaryDir configuration;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("BasicFiltersTests"));
    QApplication::setApplicationName(QStringLiteral("basicfilters-editor-tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
