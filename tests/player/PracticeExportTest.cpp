// File > "Export Practice Tracks..." through its dialog: every format read
// back at the song's length with its tags, my part emphasised by the chosen
// level and on its side, the tempo and mutes of the player, Cancel and an
// unwritable folder leaving nothing half-written. Skipped without a SoundFont.
#include "tests/player/PlayerFixture.h"

#include "persist/SettingsStore.h"
#include "player/PracticeMenus.h"
#include "render/AudioFileWriter.h"
#include "practice/PracticeMemory.h"
#include "sequencer/MidiFile.h"
#include "tests/practice/AudioMeasure.h"
#include "tests/practice/PracticeSongs.h"
#include "tests/support/FullDisk.h"
#include "windows/ExportPractice.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <cerrno>
#include <cstring>

namespace harmonet::test {
namespace {

constexpr int SongMs = 2500; // the piano's note ends the windowed song
constexpr int TailMs = 2000;

// Level of a voice's window (leaving out its attack and release).
double voiceLevel(const AudioFile& file, int fromMs, Side side = Side::Both)
{
    return levelDb(file, side, fromMs + 100, fromMs + VoiceWindowMs);
}

class PracticeExportTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        // The dialog starts from the file's remembered choice: none here.
        TSettingsStore store(CURRENT_USER);
        store.deleteKey(TPracticeMemory::keyPath());
        store.flush();
    }

    TfrmMain& loadSong(const QByteArray& song, const QString& name)
    {
        TfrmMain& main = showWindow({writeFile(name, song)});
        EXPECT_TRUE(main.session().fileLoaded());
        return main;
    }

    TdlgExportPractice& openDialog(TfrmMain& main, const QString& intoFolder, AudioFormat format)
    {
        main.PracticeMenus1->ExportPracticeTracks1->trigger();
        auto* dialog = main.findChild<TdlgExportPractice*>();
        EXPECT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        dialog->edFolder->setText(intoFolder);
        dialog->cbFormat->setCurrentIndex(dialog->cbFormat->findData(int(format)));
        return *dialog;
    }

    // Presses Export and waits until every file is done.
    static void exportAndWait(TdlgExportPractice& dialog)
    {
        QSignalSpy finished(&dialog, &TdlgExportPractice::exportFinished);
        QTest::mouseClick(dialog.btnExport, Qt::LeftButton);
        EXPECT_TRUE(finished.wait(90000));
    }

    QString newFolder(const QString& name) const
    {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(QDir().mkpath(path));
        return path;
    }

    static QStringList entries(const QString& path)
    {
        return QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
};

TEST_F(PracticeExportTest, EveryFormatHoldsEachVoiceEmphasisedAndTheFullMixAtTheSongsLength)
{
    HARMONET_REQUIRE_SOUNDFONT();
    TfrmMain& main = loadSong(windowedSong(true), QStringLiteral("windows.mid"));
    for (AudioFormat format : AllAudioFormats) {
        const QString extension = formatExtension(format);
        SCOPED_TRACE(extension.toStdString());
        if (!formatAvailable(format)) {
            ADD_FAILURE() << "this system's libsndfile cannot write " << extension.toStdString();
            continue;
        }
        const QString out = newFolder(extension);
        TdlgExportPractice& dialog = openDialog(main, out, format);
        EXPECT_EQ(dialog.cbOthers->currentData().toInt(), -12) << "the default level";
        exportAndWait(dialog);
        EXPECT_EQ(entries(out), QStringList({"Windows - Alto." + extension, "Windows - Full mix." + extension,
                                             "Windows - Soprano." + extension}))
            << "no file for the piano accompaniment, and nothing else left behind";
        EXPECT_EQ(dialog.fileBars.size(), 3);
        for (QProgressBar* bar : std::as_const(dialog.fileBars)) {
            EXPECT_EQ(bar->format(), "Written");
        }

        const AudioFile soprano = readAudioFile(out + "/Windows - Soprano." + extension);
        const AudioFile alto = readAudioFile(out + "/Windows - Alto." + extension);
        const AudioFile full = readAudioFile(out + "/Windows - Full mix." + extension);
        const long long expectedFrames = (SongMs + TailMs) * 44100LL / 1000;
        // Lossy coders may pad to a frame of their own.
        const long long slack = format == AudioFormat::Wav || format == AudioFormat::Flac ? 0 : 2304;
        for (const AudioFile* file : {&soprano, &alto, &full}) {
            ASSERT_TRUE(file->opened);
            EXPECT_EQ(file->format, majorFormatOf(extension));
            EXPECT_EQ(file->channels, 2);
            EXPECT_NEAR(double(file->frames), double(expectedFrames), double(slack));
            EXPECT_EQ(file->artist, "Harmonet");
        }
        // ID3 tags are Latin-1: the dash between song and voice is a hyphen there.
        const QString dash = format == AudioFormat::Mp3 ? "-" : "\u2013";
        EXPECT_EQ(soprano.title, "Windows " + dash + " Soprano");
        EXPECT_EQ(full.title, "Windows " + dash + " Full mix");
        EXPECT_EQ(full.album, "Windows");
        EXPECT_EQ(full.trackNumber, format == AudioFormat::Mp3 ? "3/3" : "3");

        // Each voice's own file raises it 12 dB over the other voice, against
        // the full mix; the piano keeps its level everywhere.
        const auto balance = [](const AudioFile& file) {
            return voiceLevel(file, SopranoFromMs) - voiceLevel(file, AltoFromMs);
        };
        EXPECT_NEAR(balance(soprano) - balance(full), 12.0, 1.5);
        EXPECT_NEAR(balance(full) - balance(alto), 12.0, 1.5);
        EXPECT_NEAR(voiceLevel(soprano, SopranoFromMs), voiceLevel(full, SopranoFromMs), 0.5);
        EXPECT_NEAR(voiceLevel(alto, PianoFromMs), voiceLevel(full, PianoFromMs), 0.5);
        dialog.close();
    }
    EXPECT_TRUE(errors.isEmpty()) << qPrintable(errors.join('\n'));
}

TEST_F(PracticeExportTest, PannedMyPartIsLouderOnItsSideAndTheOthersOnTheOther)
{
    HARMONET_REQUIRE_SOUNDFONT();
    TfrmMain& main = loadSong(windowedSong(true), QStringLiteral("windows.mid"));
    const QString out = newFolder(QStringLiteral("panned"));
    TdlgExportPractice& dialog = openDialog(main, out, AudioFormat::Flac);
    dialog.cbFullMix->setChecked(false);
    dialog.cbOthers->setCurrentIndex(dialog.cbOthers->findData(-6));
    dialog.cbPanned->setChecked(true);
    dialog.cbSide->setCurrentIndex(dialog.cbSide->findData(int(PanSide::Left)));
    exportAndWait(dialog);
    ASSERT_EQ(entries(out).size(), 2);
    const AudioFile soprano = readAudioFile(out + "/Windows - Soprano.flac");
    // Choir Aahs is a stereo sample: hard panning moves its two halves to one
    // side and the middle, so the other side keeps a quieter share.
    EXPECT_GT(voiceLevel(soprano, SopranoFromMs, Side::Left) - voiceLevel(soprano, SopranoFromMs, Side::Right), 4.5);
    EXPECT_GT(voiceLevel(soprano, AltoFromMs, Side::Right) - voiceLevel(soprano, AltoFromMs, Side::Left), 4.5);
    EXPECT_NEAR(voiceLevel(soprano, PianoFromMs, Side::Left), voiceLevel(soprano, PianoFromMs, Side::Right), 3.0)
        << "the accompaniment stays in the middle";
}

TEST_F(PracticeExportTest, TheTempoAndMutesOfThePlayerApply)
{
    HARMONET_REQUIRE_SOUNDFONT();
    TfrmMain& main = loadSong(windowedSong(true), QStringLiteral("windows.mid"));
    const QString out = newFolder(QStringLiteral("tempo"));
    TdlgExportPractice& dialog = openDialog(main, out, AudioFormat::Wav);
    dialog.cbEachVoice->setChecked(false);
    EXPECT_TRUE(dialog.lblTempo->text().startsWith("Tempo 120 bpm"));
    // Set in the player while the dialog is open: they count from Export on.
    main.findChild<QAction*>(QStringLiteral("N601"))->trigger(); // half the file's 120 bpm
    QTest::mouseClick(main.findChild<QWidget*>(QStringLiteral("pnlMute2")), Qt::LeftButton);
    ASSERT_TRUE(main.session().track(2).muted);
    exportAndWait(dialog);
    EXPECT_TRUE(dialog.lblTempo->text().startsWith("Tempo 60 bpm"));
    const AudioFile full = readAudioFile(out + "/Windows - Full mix.wav");
    EXPECT_EQ(full.frames, (2 * SongMs + TailMs) * 44100LL / 1000);
    const double soprano = levelDb(full, Side::Both, 2 * SopranoFromMs + 100, 2 * SopranoFromMs + 900);
    const double alto = levelDb(full, Side::Both, 2 * AltoFromMs + 200, 2 * AltoFromMs + 1000);
    EXPECT_GT(soprano - alto, 30.0) << "the muted alto is not heard";
}

TEST_F(PracticeExportTest, TheBarsRepeatsAndCountInEditedInTheDialogAreWhatIsExported)
{
    HARMONET_REQUIRE_SOUNDFONT();
    // 4/4 at 120 bpm: bar 1 holds the soprano and the alto, bar 2 the piano.
    TfrmMain& main = loadSong(windowedSong(true), QStringLiteral("windows.mid"));
    main.session().setLoop(2, 2, 4);
    const QString out = newFolder(QStringLiteral("bars"));
    TdlgExportPractice& dialog = openDialog(main, out, AudioFormat::Wav);
    EXPECT_TRUE(dialog.cbBars->isChecked()) << "the player's loop to start with";
    EXPECT_EQ(dialog.edBarsFrom->value(), 2);
    EXPECT_EQ(dialog.edBarsTo->value(), 2);
    EXPECT_EQ(dialog.edRepeat->value(), 4);

    dialog.edBarsFrom->setValue(1);
    dialog.edBarsTo->setValue(1);
    dialog.edRepeat->setValue(3);
    dialog.cbCountIn->setCurrentIndex(dialog.cbCountIn->findData(1));
    dialog.cbCountInEachPass->setChecked(true);
    dialog.cbEachVoice->setChecked(false);
    exportAndWait(dialog);

    // A bar counted in before each of three passes of bar 1.
    constexpr int BarMs = 2000;
    const AudioFile full = readAudioFile(out + "/Windows - Full mix.wav");
    EXPECT_EQ(full.frames, (3 * (BarMs + BarMs) + TailMs) * 44100LL / 1000);
    const double first = voiceLevel(full, BarMs + SopranoFromMs);
    // Each pass sings again (within the chorus's swing, whose phase differs from pass to pass).
    for (int pass = 1; pass < 3; ++pass) {
        EXPECT_NEAR(voiceLevel(full, (2 * pass + 1) * BarMs + SopranoFromMs), first, 1.5) << "pass " << pass + 1;
    }
    EXPECT_EQ(main.session().loop()->firstBar, 2) << "the player's own loop stays as it was";
}

TEST_F(PracticeExportTest, CancelRemovesTheFilesBeingWrittenAndKeepsAnEarlierOne)
{
    HARMONET_REQUIRE_SOUNDFONT();
    TfrmMain& main = loadSong(longSong(10), QStringLiteral("long.mid"));
    const QString out = newFolder(QStringLiteral("cancel"));
    QFile earlier(out + "/long - Full mix.wav");
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("an earlier export");
    earlier.close();

    TdlgExportPractice& dialog = openDialog(main, out, AudioFormat::Wav);
    QSignalSpy finished(&dialog, &TdlgExportPractice::exportFinished);
    QString question;
    whenModal<QMessageBox>([&question](QMessageBox* box) {
        question = box->text();
        box->button(QMessageBox::Yes)->click();
    });
    QTest::mouseClick(dialog.btnExport, Qt::LeftButton);
    EXPECT_EQ(question, "1 of these files exist already. Replace them?");
    EXPECT_TRUE(dialog.isRendering());
    EXPECT_FALSE(dialog.btnExport->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.fileBars[0]->value() > 0; }, 30000));
    QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
    ASSERT_TRUE(finished.wait(30000));

    EXPECT_EQ(entries(out), QStringList({"long - Full mix.wav"}));
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "an earlier export");
    for (QProgressBar* bar : std::as_const(dialog.fileBars)) {
        EXPECT_EQ(bar->format(), "Not written");
    }
    EXPECT_TRUE(dialog.lblStatus->text().startsWith("Cancelled: 0 of 3 files written"))
        << qPrintable(dialog.lblStatus->text());
    EXPECT_TRUE(dialog.btnExport->isEnabled());
}

TEST_F(PracticeExportTest, AnUnwritableFolderIsReportedWithTheFilesNameAndNothingIsWritten)
{
    HARMONET_REQUIRE_SOUNDFONT();
    TfrmMain& main = loadSong(windowedSong(), QStringLiteral("windows.mid"));
    // A folder inside a file: no one can write there, not even an administrator.
    const QString notAFolder = writeFile(QStringLiteral("plain file"), "text");
    const QString out = notAFolder + QStringLiteral("/tracks");
    TdlgExportPractice& dialog = openDialog(main, out, AudioFormat::Ogg);
    exportAndWait(dialog);
    const QString status = dialog.lblStatus->text();
    EXPECT_TRUE(status.startsWith("Cannot create \"" + QDir::toNativeSeparators(out) + "/Windows - ")) << qPrintable(status);
    EXPECT_TRUE(status.contains(".ogg\":")) << qPrintable(status);
    EXPECT_EQ(entries(folder.path()), QStringList({"plain file", "windows.mid"}));
    EXPECT_EQ(dialog.fileBars.size(), 3);
    EXPECT_TRUE(std::any_of(dialog.fileBars.cbegin(), dialog.fileBars.cend(),
                            [](const QProgressBar* bar) { return bar->format() == "Failed"; }));
}

TEST_F(PracticeExportTest, AFullDiskFailsEveryFormatNamingTheFileAndReasonAndCountsNoFileWritten)
{
    HARMONET_REQUIRE_SOUNDFONT();
    TfrmMain& main = loadSong(windowedSong(true), QStringLiteral("windows.mid"));
    const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
    for (AudioFormat format : AllAudioFormats) {
        const QString extension = formatExtension(format);
        SCOPED_TRACE(extension.toStdString());
        const QString out = newFolder("full " + extension);
        TdlgExportPractice& dialog = openDialog(main, out, format);
        {
            const FullDisk full(4096); // less than any format needs for the song
            exportAndWait(dialog);
        }
        const QString status = dialog.lblStatus->text();
        EXPECT_TRUE(status.startsWith("Cannot ")) << qPrintable(status);
        EXPECT_TRUE(status.contains(QStringLiteral("\"%1/Windows - ").arg(QDir::toNativeSeparators(out))))
            << qPrintable(status);
        EXPECT_TRUE(status.contains(QStringLiteral(".%1\": %2\n").arg(extension, reason))) << qPrintable(status);
        EXPECT_TRUE(status.endsWith("0 of 3 files written.")) << qPrintable(status);
        EXPECT_EQ(entries(out), QStringList()) << "neither temporary nor final files";
        for (QProgressBar* bar : std::as_const(dialog.fileBars)) {
            EXPECT_NE(bar->format(), "Written");
        }
        dialog.close();
    }
}

} // namespace
} // namespace harmonet::test
