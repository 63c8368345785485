// The program itself on a private session bus (this test runs under
// dbus-run-session), driven as the desktop's media controls drive it: a
// client plays, pauses, seeks, reads the metadata and the position, hears
// PropertiesChanged and Seeked, and quits it. Without a session bus the
// program runs as before and says nothing about it.
#include "tests/support/ChildProcess.h"
#include "tests/support/TestPaths.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

const QString Service = QStringLiteral("org.mpris.MediaPlayer2.harmonet");
const QString Path = QStringLiteral("/org/mpris/MediaPlayer2");
const QString Root = QStringLiteral("org.mpris.MediaPlayer2");
const QString Player = QStringLiteral("org.mpris.MediaPlayer2.Player");
constexpr int Deadline = 30000;

// What the player announced on the bus.
class Announcements : public QObject {
    Q_OBJECT

public:
    QList<QVariantMap> changes;
    QList<qlonglong> seeks;

    // Whether some announcement set the property to the value.
    bool announced(const QString& property, const QVariant& value) const
    {
        return std::any_of(changes.cbegin(), changes.cend(),
                           [&](const QVariantMap& change) { return change.value(property) == value; });
    }

public slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&)
    {
        if (interface == Player) {
            changes.append(changed);
        }
    }
    void seeked(qlonglong position) { seeks.append(position); }
};

class MprisBusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isConnected()) << "run this test under dbus-run-session";
        ASSERT_TRUE(folder.isValid());
    }

    // The program on the example song, without a display or a sound card.
    ChildProcess::Options programOptions() const
    {
        ChildProcess::Options options;
        options.environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        options.environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
        options.environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + folder.filePath("none"));
        options.environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
        options.outputFile = folder.filePath(QStringLiteral("program.log"));
        options.errorsToOutput = true;
        options.dieWithParent = true;
        return options;
    }

    QString programLog() const
    {
        QFile log(folder.filePath(QStringLiteral("program.log")));
        return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
    }

    QVariant get(const QString& interface, const QString& name) const
    {
        QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                           QStringLiteral("Get"));
        call << interface << name;
        const QDBusMessage reply = bus.call(call, QDBus::Block, Deadline);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << name.toStdString() << reply.errorMessage().toStdString();
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

    QVariantMap metadata() const
    {
        return qdbus_cast<QVariantMap>(get(Player, QStringLiteral("Metadata")).value<QDBusArgument>());
    }

    qlonglong position() const { return get(Player, QStringLiteral("Position")).toLongLong(); }

    void call(const QString& interface, const QString& method, const QVariantList& arguments = {}) const
    {
        QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, interface, method);
        message.setArguments(arguments);
        const QDBusMessage reply = bus.call(message, QDBus::Block, Deadline);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << method.toStdString() << reply.errorMessage().toStdString();
    }

    template <typename Condition>
    static bool eventually(Condition condition)
    {
        return QTest::qWaitFor(condition, Deadline);
    }

    QDBusConnection bus = QDBusConnection::sessionBus();
    QTemporaryDir folder;
};

TEST_F(MprisBusTest, TheDesktopsMediaControlsPlayPauseSeekAndQuit)
{
    const QString song = sourceDir() + QStringLiteral("/examples/old-hundredth.mid");
    ChildProcess program;
    ASSERT_TRUE(program.start(QStringLiteral(HARMONET_PROGRAM), {song}, programOptions()));
    ASSERT_TRUE(eventually([&] { return bus.interface()->isServiceRegistered(Service).value(); })) << qPrintable(programLog());

    Announcements heard;
    ASSERT_TRUE(bus.connect(Service, Path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
                            &heard, SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
    ASSERT_TRUE(bus.connect(Service, Path, Player, QStringLiteral("Seeked"), &heard, SLOT(seeked(qlonglong))));

    // Who it is.
    EXPECT_EQ(get(Root, QStringLiteral("Identity")).toString(), "Harmonet");
    EXPECT_EQ(get(Root, QStringLiteral("DesktopEntry")).toString(), "harmonet");
    EXPECT_TRUE(get(Root, QStringLiteral("CanQuit")).toBool());
    EXPECT_EQ(get(Root, QStringLiteral("SupportedUriSchemes")).toStringList(), QStringList{"file"});
    EXPECT_TRUE(get(Root, QStringLiteral("SupportedMimeTypes")).toStringList().contains("audio/midi"));

    // The song, loaded from the command line once the window shows.
    ASSERT_TRUE(eventually([&] { return metadata().contains("xesam:title"); }));
    const QVariantMap first = metadata();
    EXPECT_EQ(first.value("xesam:title").toString(), "Old Hundredth");
    EXPECT_EQ(first.value("xesam:url").toString(), QUrl::fromLocalFile(song).toString());
    const qlonglong length = first.value("mpris:length").toLongLong();
    EXPECT_GT(length, 30'000'000);
    EXPECT_EQ(get(Player, QStringLiteral("PlaybackStatus")).toString(), "Stopped");
    EXPECT_TRUE(get(Player, QStringLiteral("CanPlay")).toBool());

    call(Player, QStringLiteral("Play"));
    EXPECT_TRUE(eventually([&] { return heard.announced("PlaybackStatus", "Playing"); }));
    EXPECT_TRUE(eventually([&] { return position() > 0; }));

    call(Player, QStringLiteral("Pause"));
    EXPECT_TRUE(eventually([&] { return heard.announced("PlaybackStatus", "Paused"); }));
    EXPECT_EQ(get(Player, QStringLiteral("PlaybackStatus")).toString(), "Paused");

    // A jump to a place, then one by an offset, each announced with where it went.
    const QDBusObjectPath track = first.value("mpris:trackid").value<QDBusObjectPath>();
    call(Player, QStringLiteral("SetPosition"), {QVariant::fromValue(track), qlonglong(20'000'000)});
    ASSERT_TRUE(eventually([&] { return !heard.seeks.isEmpty(); }));
    EXPECT_NEAR(heard.seeks.constLast(), 20'000'000, 1'000);
    EXPECT_NEAR(position(), 20'000'000, 1'000);
    call(Player, QStringLiteral("Seek"), {qlonglong(-5'000'000)});
    ASSERT_TRUE(eventually([&] { return heard.seeks.size() >= 2; }));
    EXPECT_NEAR(heard.seeks.constLast(), 15'000'000, 1'000);
    // Past the end there is nowhere to go.
    call(Player, QStringLiteral("Seek"), {qlonglong(length)});
    EXPECT_NEAR(position(), 15'000'000, 1'000);

    // Paused, the play toggle plays on from there.
    call(Player, QStringLiteral("PlayPause"));
    EXPECT_TRUE(eventually([&] { return get(Player, QStringLiteral("PlaybackStatus")).toString() == "Playing"; }));
    EXPECT_GE(position(), 15'000'000);
    call(Player, QStringLiteral("Stop"));
    EXPECT_TRUE(eventually([&] { return heard.announced("PlaybackStatus", "Stopped"); }));

    // Half the tempo: the rate, and the length at that tempo, are announced.
    QDBusMessage setRate = QDBusMessage::createMethodCall(Service, Path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Set"));
    setRate << Player << QStringLiteral("Rate") << QVariant::fromValue(QDBusVariant(0.5));
    EXPECT_EQ(bus.call(setRate, QDBus::Block, Deadline).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(eventually([&] { return heard.announced("Rate", 0.5); }));
    EXPECT_NEAR(double(metadata().value("mpris:length").toLongLong()), 2.0 * double(length), 0.02 * double(length));

    // Another file, opened by its address, is another track.
    const QString copy = folder.filePath(QStringLiteral("second song.mid"));
    ASSERT_TRUE(QFile::copy(song, copy));
    call(Player, QStringLiteral("OpenUri"), {QUrl::fromLocalFile(copy).toString()});
    EXPECT_TRUE(eventually([&] { return QUrl(metadata().value("xesam:url").toString()) == QUrl::fromLocalFile(copy); }))
        << qPrintable(metadata().value("xesam:url").toString());
    EXPECT_NE(metadata().value("mpris:trackid").value<QDBusObjectPath>(), track);

    call(Root, QStringLiteral("Quit"));
    EXPECT_TRUE(program.waitForFinished(Deadline)) << qPrintable(programLog());
    EXPECT_EQ(program.exitCode(), 0) << qPrintable(programLog());
    EXPECT_TRUE(eventually([&] { return !bus.interface()->isServiceRegistered(Service).value(); }));
}

TEST_F(MprisBusTest, NextAndPreviousGoByVerses)
{
    ChildProcess program;
    ASSERT_TRUE(program.start(QStringLiteral(HARMONET_PROGRAM), {sourceDir() + QStringLiteral("/examples/old-hundredth.mid")},
                              programOptions()));
    ASSERT_TRUE(eventually([&] { return bus.interface()->isServiceRegistered(Service).value(); }));
    ASSERT_TRUE(eventually([&] { return get(Player, QStringLiteral("CanGoNext")).toBool(); }))
        << "the example song has verses";
    Announcements heard;
    ASSERT_TRUE(bus.connect(Service, Path, Player, QStringLiteral("Seeked"), &heard, SLOT(seeked(qlonglong))));

    // The example song has two verses.
    call(Player, QStringLiteral("Next"));
    ASSERT_TRUE(eventually([&] { return heard.seeks.size() == 1; }));
    const qlonglong second = heard.seeks.constLast();
    EXPECT_GT(second, 0);
    // Right at the start of a verse, Previous goes to the one before.
    call(Player, QStringLiteral("Previous"));
    ASSERT_TRUE(eventually([&] { return heard.seeks.size() == 2; }));
    EXPECT_EQ(heard.seeks.constLast(), 0);
    // Playing in the last verse, Next has nowhere to go: playing stops.
    call(Player, QStringLiteral("Play"));
    call(Player, QStringLiteral("Next"));
    ASSERT_TRUE(eventually([&] { return heard.seeks.size() == 3; }));
    EXPECT_EQ(heard.seeks.constLast(), second);
    EXPECT_EQ(get(Player, QStringLiteral("PlaybackStatus")).toString(), "Playing");
    call(Player, QStringLiteral("Next"));
    EXPECT_TRUE(eventually([&] { return get(Player, QStringLiteral("PlaybackStatus")).toString() == "Stopped"; }));

    call(Root, QStringLiteral("Quit"));
    EXPECT_TRUE(program.waitForFinished(Deadline));
}

TEST_F(MprisBusTest, WithoutASessionBusTheProgramRunsAndSaysNothingOfIt)
{
    ChildProcess::Options options = programOptions();
    options.environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    options.environment.remove(QStringLiteral("DISPLAY"));
    // A helper in the program closes its window with Escape once the song shows.
    options.environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(HARMONET_ESCAPE_PRESSER));
    // In an address-sanitized build the helper comes before the sanitizer's
    // runtime, which then reads none of the program's own options.
    options.environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("verify_asan_link_order=0"));
    options.environment.insert(QStringLiteral("LSAN_OPTIONS"),
                               QStringLiteral("suppressions=") + sourceDir() + QStringLiteral("/tests/sanitizers/leak.supp"));
    options.environment.insert(QStringLiteral("ESCAPE_WHEN_TITLE"), QStringLiteral("Harmonet - old-hundredth.mid"));
    ChildProcess program;
    ASSERT_TRUE(program.start(QStringLiteral(HARMONET_PROGRAM), {sourceDir() + QStringLiteral("/examples/old-hundredth.mid")},
                              options));
    ASSERT_TRUE(program.waitForFinished(60000)) << qPrintable(programLog());
    EXPECT_EQ(program.exitCode(), 0) << qPrintable(programLog());
    EXPECT_FALSE(programLog().contains(QStringLiteral("bus"), Qt::CaseInsensitive)) << qPrintable(programLog());
    EXPECT_FALSE(bus.interface()->isServiceRegistered(Service).value());
}

} // namespace
} // namespace harmonet::test

#include "MprisBusTest.moc"
