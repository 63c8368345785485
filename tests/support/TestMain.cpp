// Test main: every test program runs inside a QApplication on the offscreen
// platform, with its settings in a private temporary folder, and with the
// SoundFont the tests' sound levels were measured with (the one the
// dependencies install): the system's default may be another, and
// FluidR3_GM's louder reverb and slower releases fail ten of them.
#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    const char* const measuredWith = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    if (qEnvironmentVariableIsEmpty("HARMONET_SOUNDFONT") && QFileInfo(QString::fromLatin1(measuredWith)).isFile()) {
        qputenv("HARMONET_SOUNDFONT", measuredWith);
    }

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
