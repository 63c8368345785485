// The words that follow my part: choosing my part chooses its voice's words
// for the strip, the lyrics window and the practice view; the words chosen
// for each voice, and the voice whose words the strip shows, are remembered
// for the file.
#include "player/UnitMain.h"

#include "player/ControlTags.h"
#include "player/Panel.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "practice/VoiceModel.h"

namespace harmonet {

TPanel* TfrmMain::lyricsButtonOfTrack(int track) const
{
    for (int number = 1; number <= TrackPanelCount; ++number) {
        TPanel* button = lyricsButtonOf(number);
        if (TrackPanels[number - 1]->isVisible() && tagOf(button) == track) {
            return button;
        }
    }
    return nullptr;
}

void TfrmMain::showWordsOfMyPart()
{
    const TVoice* mine = m_session->myVoice();
    TPanel* button = mine ? lyricsButtonOfTrack(mine->track) : nullptr;
    if (!button) {
        refreshPracticeView();
        return;
    }
    // As a click on its Lyrics button: the strip, the lyrics window and the view follow.
    if (mine->track != m_lyricsVoice) {
        pLyricsClick(button);
    }
    // A voice that shares its track's staff may sing words of its own.
    const int words = mine->wordsTrack();
    if (mine->split && words != LyricTrack && m_words.sourceOf(words)) {
        WordsClick(words);
    } else {
        refreshPracticeView();
    }
}

void TfrmMain::restoreWords()
{
    m_songHash = TPracticeMemory::contentHash(m_session->song()->bytes());
    m_restoredWordsVoice = -1;
    const std::optional<TWordsChoice> remembered = m_wordsMemory.recallWords(CurrentFileName, m_songHash);
    if (!remembered) {
        return;
    }
    // Choices that no longer fit the file (it was edited) are passed over.
    for (const TWordsChoice::Pair& pair : remembered->chosen) {
        m_words.choose(pair.voice, pair.words);
    }
    m_restoredWordsVoice = remembered->voice;
}

void TfrmMain::rememberWords()
{
    if (m_restoringWords || !m_session->fileLoaded() || m_songHash.isEmpty()) {
        return;
    }
    TWordsChoice choice;
    choice.voice = m_lyricsVoice;
    for (const TVoiceWords& voice : m_words.voices()) {
        const int words = m_words.chosenWordsOf(voice.voice);
        if (words >= 0) {
            choice.chosen.append({voice.voice, words});
        }
    }
    m_wordsMemory.rememberWords(CurrentFileName, m_songHash, choice);
}

} // namespace harmonet
