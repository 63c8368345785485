#pragma once

#include "core/ErrorReport.h"
#include "midiout/MidiDeviceList.h"
#include "midiout/RecordingBackend.h"
#include "player/UnitMain.h"
#include "sequencer/SmfWriter.h"
#include "session/PlayingSession.h"
#include "tests/mixer/FakeMixer.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace harmonet::test {

// One lyric event of a test song: absolute tick time and the text's bytes.
struct Syllable {
    qint32 ticks;
    QByteArray text;
};

// A main window built as the program builds it (with its settings and lyrics
// windows), playing into a recording output device, with errors collected
// instead of shown and MIDI files written into a private folder.
class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the windows; the command line is what the program got after its name.
    TfrmMain& createWindow(const QStringList& commandLine = {});
    // Creates and shows them (the first showing loads the command line's file).
    TfrmMain& showWindow(const QStringList& commandLine = {});

    // Writes the bytes as a file of the private folder and returns its path.
    QString writeFile(const QString& name, const QByteArray& bytes) const;

    // A format 1 song: a tempo track with no channel event, then one track per
    // voice name on channels 1, 2, ..., each with a program change and a note.
    static QByteArray choirSong(const QStringList& voices);

    // A format 1 song at 120 bpm, 480 ticks a quarter: a tempo track, then
    // "Soprano" on channel 1 with a note from 0 to lengthTicks and the
    // syllables, then "Alto" on channel 2 with a note of the same length.
    static QByteArray lyricSong(const QList<Syllable>& syllables, qint32 lengthTicks = 1920);

    // Short messages the recording device received, as bytes.
    QList<QByteArray> sentMessages() const;

    // Runs action once a modal widget of type T is open, from inside its
    // event loop; gives up (closing whatever modal is open) after 30 seconds,
    // ample for a file dialog on a busy machine.
    template <typename T>
    static void whenModal(std::function<void(T*)> action);

    // Stored settings of the main window, removed before each test.
    static void storeMainFormValue(const QString& name, const QString& value);
    static QString storedMainFormValue(const QString& name);
    // Stored settings under any key (those of the settings and lyrics windows are removed before each test too).
    static void storeValue(const QString& key, const QString& name, const QString& value);
    static QString storedValue(const QString& key, const QString& name);

    std::shared_ptr<RecordingBackend> recorder;
    // The system mixer of the windows (set it up before creating them).
    std::shared_ptr<FakeMixerBackend> mixer;
    std::unique_ptr<TfrmMain> window;
    QStringList errors;
    QTemporaryDir folder;

private:
    static void pollModal(const std::function<bool()>& tryAction, int attemptsLeft);
    ErrorReporter m_previousReporter;
};

template <typename T>
void PlayerTest::whenModal(std::function<void(T*)> action)
{
    pollModal(
        [action] {
            auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
            if (modal) {
                action(modal);
            }
            return modal != nullptr;
        },
        3000);
}

} // namespace harmonet::test
