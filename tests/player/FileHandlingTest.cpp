// Opening files through the command line, a drop and the open dialog, loading
// them into the track panels, closing them, and a file that cannot be read.
#include "tests/player/PlayerFixture.h"

#include "player/OpenDialog.h"
#include "player/Panel.h"
#include "widgets/ImageButton.h"
#include "sequencer/MidiFile.h"
#include "tests/support/BadSongFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <tuple>

namespace harmonet::test {
namespace {

QStringList visiblePanelCaptions(const TfrmMain& main)
{
    QStringList captions;
    for (TPanel* panel : main.TrackPanels) {
        if (!panel->isHidden()) {
            captions.append(panel->caption());
        }
    }
    return captions;
}

void drop(TfrmMain& main, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    // The drop goes to the widget that accepted the drag when it entered.
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&main, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent event(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&main, &event);
}

TEST_F(PlayerTest, CommandLineFileIsLoadedAtTheFirstShowing)
{
    const QString path = writeFile("hymn.mid", choirSong({"Soprano", "Alto", "Tenor", "Bass"}));
    TfrmMain& main = showWindow({path, "ignored.mid"});
    EXPECT_TRUE(main.session().fileLoaded());
    EXPECT_EQ(main.CurrentFileName, path);
    EXPECT_EQ(main.LastDir, QFileInfo(path).absolutePath() + "/");
    EXPECT_EQ(main.windowTitle(), "Harmonet - hymn.mid");
    EXPECT_EQ(main.statusText(), path + " ");
    EXPECT_EQ(visiblePanelCaptions(main), (QStringList{"Soprano", "Alto", "Tenor", "Bass"}));
    EXPECT_TRUE(main.btnPlay->isEnabled());
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(PlayerTest, CommandLineRelativePathIsTakenFromTheStartingFolder)
{
    writeFile("relative.mid", choirSong({"Melody"}));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    TfrmMain& main = showWindow({"relative.mid"});
    QDir::setCurrent(previous);
    EXPECT_TRUE(main.session().fileLoaded());
    EXPECT_EQ(main.CurrentFileName, QDir(folder.path()).absoluteFilePath("relative.mid"));
}

TEST_F(PlayerTest, BlankCommandLineOpensNothing)
{
    for (const QStringList& commandLine : {QStringList{"  "}, QStringList{}}) {
        TfrmMain& main = showWindow(commandLine);
        EXPECT_FALSE(main.session().fileLoaded()) << commandLine.join(",").toStdString();
        EXPECT_EQ(main.statusText(), "No MIDI File Loaded");
        EXPECT_EQ(main.windowTitle(), "Harmonet - MIDI Player");
        window.reset();
    }
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(PlayerTest, DropLoadsOnlyTheFirstOfThreeFiles)
{
    const QString first = writeFile("first.mid", choirSong({"One"}));
    const QString second = writeFile("second.mid", choirSong({"Two", "Three"}));
    TfrmMain& main = showWindow();
    drop(main, {QUrl::fromLocalFile(first), QUrl::fromLocalFile(second), QUrl::fromLocalFile(second)});
    EXPECT_EQ(main.CurrentFileName, first);
    EXPECT_EQ(main.LastDir, QFileInfo(first).absolutePath() + "/");
    EXPECT_EQ(visiblePanelCaptions(main), QStringList{"One"});
}

TEST_F(PlayerTest, OpenDialogIsSetUpAndLoadsTheChosenFile)
{
    const QString path = writeFile("chosen.mid", choirSong({"Descant"}));
    TfrmMain& main = showWindow();
    QString title;
    QStringList filters;
    QString startFolder;
    bool existingOnly = false;
    whenModal<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        startFolder = dialog->directory().absolutePath();
        existingOnly = dialog->fileMode() == QFileDialog::ExistingFile;
        // The user types the file's name into the dialog's name box, in the file's
        // folder, and the dialog closes as accepted. (selectFile() leaves the box alone
        // whenever it has the keyboard focus, which depends on timing; the dialog's own
        // existence check reads a folder listing that a worker thread fills.)
        dialog->setDirectory(QFileInfo(path).absolutePath());
        auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (nameBox == nullptr) {
            ADD_FAILURE() << "the dialog has no file name box";
            dialog->reject();
            return;
        }
        nameBox->setText(QFileInfo(path).fileName());
        static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
    });
    QTest::mouseClick(main.btnLoad, Qt::LeftButton);

    EXPECT_EQ(title, "Load MIDI File...");
    EXPECT_EQ(filters, (QStringList{"MIDI Files (*.mid *.midi *.kar *.rmi)", "All files (*)"}));
    EXPECT_NE(startFolder, QDir(QCoreApplication::applicationDirPath()).absolutePath()) << "never the program folder";
    EXPECT_TRUE(existingOnly);
    EXPECT_EQ(main.CurrentFileName, path);
    EXPECT_EQ(main.LastDir, QFileInfo(path).absolutePath()) << "no trailing separator from the dialog";
    EXPECT_EQ(main.OpenDialog1->initialDir(), main.LastDir);
    EXPECT_TRUE(main.session().fileLoaded());
    window.reset();
    EXPECT_EQ(storedMainFormValue("OpenDir"), QFileInfo(path).absolutePath()) << "the dialog's folder is kept";
}

TEST_F(PlayerTest, CancelledDialogChangesNothing)
{
    TfrmMain& main = showWindow();
    whenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    main.Open1->trigger();
    EXPECT_FALSE(main.session().fileLoaded());
    EXPECT_TRUE(main.CurrentFileName.isEmpty());
}

TEST_F(PlayerTest, SecondFileReplacesTheFirst)
{
    TfrmMain& main = showWindow({writeFile("a.mid", choirSong({"S", "A", "T", "B"}))});
    main.CurrentFileName = writeFile("b.mid", choirSong({"Melody", "Bass"}));
    main.LoadMidiFile();
    EXPECT_EQ(visiblePanelCaptions(main), (QStringList{"Melody", "Bass"}));
    EXPECT_EQ(main.windowTitle(), "Harmonet - b.mid");
    EXPECT_TRUE(main.session().fileLoaded());
}

TEST_F(PlayerTest, OnlyQualifyingTracksAmongTheFirstSixteenGetPanels)
{
    SmfWriter song;
    song.header(1, 20, 96);
    for (int t = 0; t < 20; ++t) {
        song.beginTrack().meta(0, SmfWriter::TrackName, "T" + QByteArray::number(t));
        if (t % 5 != 0) { // tracks 0, 5, 10 and 15 hold meta events only
            song.noteOn(0, t % 16, 60, 90).noteOff(96, t % 16, 60);
        }
        song.endOfTrack().endTrack();
    }
    TfrmMain& main = showWindow({writeFile("many.mid", song.bytes())});
    EXPECT_EQ(visiblePanelCaptions(main),
              (QStringList{"T1", "T2", "T3", "T4", "T6", "T7", "T8", "T9", "T11", "T12", "T13", "T14"}));
    EXPECT_EQ(main.findChild<TPanel*>("pnlMute5")->property("Tag").toInt(), 6);
}

TEST_F(PlayerTest, FileWithoutPlayableTrackShowsNoPanel)
{
    SmfWriter song;
    song.header(1, 2, 96);
    song.beginTrack().tempo(0, 600000).endOfTrack().endTrack();
    song.beginTrack().meta(0, SmfWriter::Lyric, "La").endOfTrack().endTrack();
    TfrmMain& main = showWindow({writeFile("silent.mid", song.bytes())});
    EXPECT_TRUE(main.session().fileLoaded());
    EXPECT_TRUE(visiblePanelCaptions(main).isEmpty());
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(PlayerTest, ClosingKeepsTheCaptionAndEmptiesTheWindow)
{
    TfrmMain& main = showWindow({writeFile("kept.mid", choirSong({"Soprano", "Alto"}))});
    auto* lyrics = main.findChild<QPlainTextEdit*>("memoLyrics");
    lyrics->setPlainText("1.All people that on earth do dwell");
    main.pnlLyrics2->setText("dwell");
    main.Close1->trigger();
    EXPECT_TRUE(lyrics->toPlainText().isEmpty());
    EXPECT_TRUE(main.pnlLyrics2->text().isEmpty());
    EXPECT_FALSE(main.session().fileLoaded());
    EXPECT_EQ(main.windowTitle(), "Harmonet - kept.mid");
    EXPECT_EQ(main.statusText(), "No MIDI File Loaded");
    EXPECT_TRUE(visiblePanelCaptions(main).isEmpty());
    EXPECT_FALSE(main.btnPlay->isEnabled());
    EXPECT_FALSE(main.Close1->isEnabled());
}

TEST_F(PlayerTest, UnreadableFileIsReportedAndLeavesNothingPlayable)
{
    TfrmMain& main = showWindow({writeFile("good.mid", choirSong({"Soprano"}))});
    QByteArray truncated = choirSong({"Alto", "Tenor"});
    truncated.chop(10);
    const QString bad = writeFile("bad.mid", truncated);
    drop(main, {QUrl::fromLocalFile(bad)});

    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.constFirst(),
              "“bad.mid” could not be read.\n\nRead beyond end of file\n\nFile: " + QDir::toNativeSeparators(bad))
        << "what is wrong, the reader's message, then which file it was";
    EXPECT_EQ(main.windowTitle(), "Harmonet - bad.mid");
    EXPECT_EQ(main.statusText(), bad + " ");
    EXPECT_EQ(main.RecentFiles.paths(), QStringList{folder.filePath("good.mid")}) << "a failed file is not listed";
    EXPECT_FALSE(main.session().fileLoaded());
    EXPECT_TRUE(visiblePanelCaptions(main).isEmpty());
    EXPECT_FALSE(main.btnPlay->isEnabled());
    EXPECT_FALSE(main.cbInstruments->isEnabled());
    EXPECT_TRUE(main.btnLoad->isEnabled()) << "the program goes on";
}

TEST_F(PlayerTest, EveryInputThatIsNoMidiFileIsNamedAndLoadsNothing)
{
    const QString good = writeFile("good.mid", choirSong({"Soprano", "Alto"}));
    showWindow({good});
    window.reset();
    for (const BadSongFile& bad : makeBadSongFiles(folder.path(), choirSong({"Tenor"}))) {
        SCOPED_TRACE(bad.what);
        const QString fileLine = "\n\nFile: " + QDir::toNativeSeparators(bad.path);
        // Given on the command line: said once the window shows.
        showWindow({bad.path});
        ASSERT_EQ(errors.size(), 1);
        EXPECT_EQ(errors.takeFirst(), bad.summary + fileLine);
        EXPECT_FALSE(window->session().fileLoaded());
        EXPECT_EQ(window->RecentFiles.paths(), QStringList{good});
        window.reset();

        // Dropped on a window playing another song: that song is closed, as
        // after any failed load, and stays the only recent file.
        TfrmMain& main = showWindow({good});
        drop(main, {QUrl::fromLocalFile(bad.path)});
        ASSERT_EQ(errors.size(), 1);
        EXPECT_EQ(errors.takeFirst(), bad.summary + fileLine);
        EXPECT_FALSE(main.session().fileLoaded());
        EXPECT_TRUE(visiblePanelCaptions(main).isEmpty());
        EXPECT_FALSE(main.btnPlay->isEnabled());
        EXPECT_EQ(main.MidiFile1->NumberOfTracks(), 0);
        EXPECT_EQ(main.RecentFiles.paths(), QStringList{good});
        window.reset();
    }
}

TEST_F(PlayerTest, RiffMidiFileLoadsAsTheSongItWraps)
{
    TfrmMain& main = showWindow({writeFile("hymn.rmi", riffMidi(choirSong({"Soprano", "Bass"})))});
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_TRUE(main.session().fileLoaded());
    EXPECT_EQ(visiblePanelCaptions(main), (QStringList{"Soprano", "Bass"}));
}

TEST_F(PlayerTest, FewerTracksAfterManyShowTheListFromTheTop)
{
    QStringList sixteen;
    for (int n = 1; n <= 16; ++n) {
        sixteen.append(QStringLiteral("Voice %1").arg(n));
    }
    TfrmMain& main = showWindow({writeFile("many.mid", choirSong(sixteen))});
    QScrollBar* scroll = main.ScrollBox1->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    ASSERT_GT(scroll->value(), 0);
    main.CurrentFileName = writeFile("one.mid", choirSong({"Melody"}));
    main.LoadMidiFile();
    EXPECT_EQ(scroll->value(), 0);
    const QRect panel(main.TrackPanels[0]->mapTo(main.ScrollBox1->viewport(), QPoint(0, 0)),
                      main.TrackPanels[0]->size());
    EXPECT_TRUE(main.ScrollBox1->viewport()->rect().contains(panel)) << "the one panel is in sight";
}

TEST_F(PlayerTest, OpenDialogStartsInTheLastOpenedFilesFolderElseMusicElseHome)
{
    QTemporaryDir home;
    const QByteArray previousHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    const QString music = home.path() + "/Music";
    const QString song = writeFile("last.mid", choirSong({"Alto"}));
    const std::tuple<bool, QStringList, QString> cases[] = {
        {false, {}, home.path()}, {true, {}, music}, {true, {song}, folder.path()}};
    for (const auto& [musicExists, commandLine, expected] : cases) {
        musicExists ? QDir().mkpath(music) : QDir(music).removeRecursively();
        TfrmMain& main = showWindow(commandLine);
        QString startFolder;
        whenModal<QFileDialog>([&](QFileDialog* dialog) {
            startFolder = dialog->directory().absolutePath();
            dialog->reject();
        });
        main.Open1->trigger();
        EXPECT_EQ(startFolder, QDir(expected).absolutePath());
        window.reset();
    }
    qputenv("HOME", previousHome);
}

TEST(OpenDialogFilters, EachDescriptionIsFollowedByItsPatterns)
{
    EXPECT_EQ(TOpenDialog::nameFilters("MIDI Files (*.MID)|*.mid"), QStringList{"MIDI Files (*.mid)"});
    EXPECT_EQ(TOpenDialog::nameFilters("Songs|*.mid;*.kar;*.MID|All|*"),
              (QStringList{"Songs (*.mid *.kar)", "All (*)"}));
    EXPECT_TRUE(TOpenDialog::nameFilters("").isEmpty());
    for (const char* pattern : {"*.kar", "hymn?.mid", "*"}) {
        EXPECT_TRUE(TOpenDialog::isPattern(pattern)) << pattern;
    }
    EXPECT_FALSE(TOpenDialog::isPattern("/songs/Psalm 23.mid"));
}

// The names the open dialog lists in its folder, once its listing has arrived.
QStringList listedNames(QFileDialog* dialog, int expectedCount)
{
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QStringList names;
    if (view == nullptr) {
        ADD_FAILURE() << "the dialog has no list";
        return names;
    }
    (void)QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) == expectedCount; }, 10000);
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
        names.append(view->model()->index(row, 0, view->rootIndex()).data().toString());
    }
    names.sort();
    return names;
}

TEST_F(PlayerTest, OpenDialogListsMidiFilesInAnyLetterCaseAndFiltersByATypedPattern)
{
    for (const char* name : {"a.mid", "B.MID", "c.Midi", "d.kar", "e.RMI", "notes.txt"}) {
        writeFile(name, choirSong({"Soprano"}));
    }
    TfrmMain& main = showWindow();
    main.OpenDialog1->setInitialDir(folder.path());
    QStringList offered;
    QStringList afterPattern;
    QString chosenFilter;
    bool stillOpen = false;
    whenModal<QFileDialog>([&](QFileDialog* dialog) {
        offered = listedNames(dialog, 5);
        auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (nameBox == nullptr) {
            ADD_FAILURE() << "the dialog has no file name box";
            dialog->reject();
            return;
        }
        nameBox->setFocus();
        nameBox->setText("*.KAR");
        QTest::keyClick(nameBox, Qt::Key_Return);
        stillOpen = dialog->isVisible();
        chosenFilter = dialog->selectedNameFilter();
        afterPattern = listedNames(dialog, 1);
        dialog->reject();
    });
    main.btnLoad->click();
    EXPECT_EQ(offered, (QStringList{"B.MID", "a.mid", "c.Midi", "d.kar", "e.RMI"}));
    EXPECT_TRUE(stillOpen) << "a pattern is not a file to open";
    EXPECT_EQ(chosenFilter, "*.KAR");
    EXPECT_EQ(afterPattern, QStringList{"d.kar"});
    EXPECT_FALSE(main.session().fileLoaded());
}

} // namespace
} // namespace harmonet::test
