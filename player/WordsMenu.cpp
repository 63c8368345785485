// The words of the loaded song as the window offers them: the strip's
// "Words" submenu to pick another source of words (a verse, a language) by
// hand, its "Text Encoding" submenu to read the song's texts in another
// encoding, and the decoded captions of the track panels.
#include "player/UnitMain.h"

#include "player/ControlTags.h"
#include "player/Panel.h"
#include "player/RightAlignedLabel.h"
#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace harmonet {

namespace {

// A menu caption shows "&" only when it is doubled.
QString menuText(QString text)
{
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QMenu* submenu(QMenu* parent, const char* name, const QString& caption)
{
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("Item"));
    return menu;
}

// Deletes the menu's groups of choice items, and so the items.
void removeChoices(QMenu* menu)
{
    for (QActionGroup* group : menu->findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly)) {
        delete group;
    }
}

} // namespace

void TfrmMain::createWordsMenu()
{
    pmScrollingLyrics->addSeparator();
    Words1 = submenu(pmScrollingLyrics, "Words1", tr("Words"));
    // Usable only with a file loaded.
    setTag(Words1->menuAction(), 0);
    Words1->addSeparator()->setObjectName(QStringLiteral("WordsSeparator1"));
    TextEncoding1 = submenu(Words1, "TextEncoding1", tr("Text Encoding"));
    connect(Words1, &QMenu::aboutToShow, this, [this] { guarded([this] { pmWordsPopup(); }); });
    connect(TextEncoding1, &QMenu::aboutToShow, this, [this] { guarded([this] { pmTextEncodingPopup(); }); });
}

void TfrmMain::pmWordsPopup()
{
    // The items of the sources, made anew before the separator, belong to
    // one group: deleting it takes them out of the menu.
    removeChoices(Words1);
    QAction* separator = Words1->actions().constFirst();
    auto* choices = new QActionGroup(Words1);
    for (const TWordsSource& source : m_words.sources()) {
        const QString words = source.firstWords();
        QString caption = source.title().trimmed();
        if (!words.isEmpty()) {
            caption += QStringLiteral(" \u2013 ") + words + QStringLiteral("\u2026");
        }
        auto* item = new QAction(menuText(caption), choices);
        item->setCheckable(true);
        item->setChecked(source.track == LyricTrack);
        Words1->insertAction(separator, item);
        connect(item, &QAction::triggered, this,
                [this, track = source.track] { guarded([this, track] { WordsClick(track); }); });
    }
    if (m_words.sources().isEmpty()) {
        auto* none = new QAction(tr("(No Words)"), choices);
        none->setEnabled(false);
        Words1->insertAction(separator, none);
    }
}

void TfrmMain::pmTextEncodingPopup()
{
    removeChoices(TextEncoding1);
    auto* choices = new QActionGroup(TextEncoding1);
    QStringList names = TTextEncoding::commonNames();
    const QString detected = QString::fromLatin1(m_words.detectedEncoding());
    names.removeAll(detected);
    names.prepend(detected);
    const QString current = QString::fromLatin1(m_words.encoding().name());
    for (const QString& name : std::as_const(names)) {
        auto* item = new QAction(name, choices);
        item->setCheckable(true);
        item->setChecked(name == current);
        TextEncoding1->addAction(item);
        connect(item, &QAction::triggered, this,
                [this, name = name.toLatin1()] { guarded([this, name] { TextEncodingClick(name); }); });
    }
}

void TfrmMain::WordsClick(int wordsTrack)
{
    if (!m_words.sourceOf(wordsTrack)) {
        return;
    }
    m_words.choose(m_lyricsVoice, wordsTrack);
    pnlLyrics->clear();
    pnlLyrics2->clear();
    lblLyrics->setCaption(QString());
    LyricTrack = wordsTrack;
    GatherLyrics();
    rememberWords();
}

void TfrmMain::TextEncodingClick(const QByteArray& name)
{
    if (!m_session->fileLoaded()) {
        return;
    }
    m_words.setEncoding(*MidiFile1, name);
    // The captions follow the check box, now in the new encoding.
    cbInstrumentsClick();
    pnlLyrics->clear();
    pnlLyrics2->clear();
    lblLyrics->setCaption(QString());
    GatherLyrics();
}

QString TfrmMain::PanelCaption(int track, bool instrument) const
{
    return m_words.encoding().decodeLatin1Held(instrument ? m_session->track(track).instrument
                                                          : MidiFile1->TrackAt(track)->TrackName());
}

} // namespace harmonet
