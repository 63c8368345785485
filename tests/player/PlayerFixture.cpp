#include "tests/player/PlayerFixture.h"

#include "persist/SettingsStore.h"
#include "player/StartupWindows.h"
#include "practice/PracticeMemory.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

namespace harmonet::test {

namespace {
const QString MainFormKey = QStringLiteral("Software\\Harmonet\\MainForm");
}

void PlayerTest::SetUp()
{
    ASSERT_TRUE(folder.isValid());
    recorder = std::make_shared<RecordingBackend>(QStringList{QStringLiteral("Recorder")});
    MidiDeviceList::installDefault(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{recorder}));
    mixer = std::make_shared<FakeMixerBackend>();
    MixerBackend::installDefault(mixer);
    m_previousReporter = setErrorReporter([this](const QString& message) { errors.append(message); });
    TSettingsStore store(CURRENT_USER);
    store.deleteKey(MainFormKey);
    store.deleteKey(QStringLiteral("Software\\Harmonet\\SettingsForm"));
    store.deleteKey(QStringLiteral("Software\\Harmonet\\LyricsForm"));
    store.deleteKey(TRecentFileList::StoreKey);
    store.deleteKey(TPracticeMemory::wordsKeyPath());
    store.deleteKey(QStringLiteral("Software\\Harmonet\\PracticeViewForm"));
    // Each test's songs start at their own tempo and pitch.
    store.deleteKey(TPracticeMemory::playingKeyPath());
}

void PlayerTest::TearDown()
{
    window.reset();
    MidiDeviceList::installDefault(nullptr);
    MixerBackend::installDefault(nullptr);
    setErrorReporter(m_previousReporter);
}

TfrmMain& PlayerTest::createWindow(const QStringList& commandLine)
{
    window = std::make_unique<TfrmMain>();
    window->SetCommandLine(commandLine);
    createSecondaryWindows(*window);
    return *window;
}

TfrmMain& PlayerTest::showWindow(const QStringList& commandLine)
{
    createWindow(commandLine);
    window->show();
    window->activateWindow();
    return *window;
}

QString PlayerTest::writeFile(const QString& name, const QByteArray& bytes) const
{
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QByteArray PlayerTest::choirSong(const QStringList& voices)
{
    SmfWriter song;
    song.header(1, quint16(voices.size() + 1), 480);
    song.beginTrack().meta(0, SmfWriter::TrackName, "Old Hundredth").tempo(0, 500000).endOfTrack().endTrack();
    for (int i = 0; i < voices.size(); ++i) {
        song.beginTrack()
            .meta(0, SmfWriter::TrackName, voices[i].toLatin1())
            .programChange(0, i, 19)
            .noteOn(0, i, quint8(60 + i), 100)
            .noteOff(960, i, quint8(60 + i))
            .endOfTrack()
            .endTrack();
    }
    return song.bytes();
}

QByteArray PlayerTest::lyricSong(const QList<Syllable>& syllables, qint32 lengthTicks)
{
    SmfWriter song;
    song.header(1, 3, 480);
    song.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    song.beginTrack().meta(0, SmfWriter::TrackName, "Soprano").noteOn(0, 0, 72, 100);
    qint32 now = 0;
    for (const Syllable& syllable : syllables) {
        song.meta(quint64(syllable.ticks - now), SmfWriter::Lyric, syllable.text);
        now = syllable.ticks;
    }
    song.noteOff(quint64(lengthTicks - now), 0, 72).endOfTrack().endTrack();
    song.beginTrack()
        .meta(0, SmfWriter::TrackName, "Alto")
        .noteOn(0, 1, 65, 100)
        .noteOff(quint64(lengthTicks), 1, 65)
        .endOfTrack()
        .endTrack();
    return song.bytes();
}

QList<QByteArray> PlayerTest::sentMessages() const
{
    QList<QByteArray> sent;
    for (const RecordedMessage& message : recorder->messages()) {
        sent.append(message.bytes);
    }
    return sent;
}

void PlayerTest::pollModal(const std::function<bool()>& tryAction, int attemptsLeft)
{
    QTimer::singleShot(10, qApp, [tryAction, attemptsLeft] {
        if (tryAction()) {
            return;
        }
        if (attemptsLeft > 0) {
            pollModal(tryAction, attemptsLeft - 1);
        } else if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "an unexpected modal window is open: " << modal->metaObject()->className();
            modal->close();
        }
    });
}

void PlayerTest::storeMainFormValue(const QString& name, const QString& value)
{
    storeValue(MainFormKey, name, value);
}

QString PlayerTest::storedMainFormValue(const QString& name)
{
    return storedValue(MainFormKey, name);
}

void PlayerTest::storeValue(const QString& key, const QString& name, const QString& value)
{
    TSettingsStore store(CURRENT_USER);
    ASSERT_TRUE(store.openKey(key, true));
    store.writeString(name, value);
    ASSERT_TRUE(store.flush());
}

QString PlayerTest::storedValue(const QString& key, const QString& name)
{
    TSettingsStore store(CURRENT_USER);
    return store.openKey(key, false) ? store.readString(name) : QString();
}

} // namespace harmonet::test
