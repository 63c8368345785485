// What the settings and lyrics windows use of the main window: the colours of
// the lyrics strip, the time display and the instruments shown on the track
// panels.
#include "player/UnitMain.h"

#include "player/ControlTags.h"
#include "player/Panel.h"
#include "player/RightAlignedLabel.h"
#include "windows/UnitLyrics.h"
#include "windows/UnitSettings.h"

namespace harmonet {

void TfrmMain::SetSecondaryWindows(TfrmSettings& settings, TfrmLyrics& lyrics)
{
    m_settingsWindow = &settings;
    m_lyricsWindow = &lyrics;
}

void TfrmMain::setLyricStripColors(const TLyricStripColors& colors)
{
    m_lyricStripColors = colors;
    for (TPanel* strip : {pnlLyrics, pnlLyrics2}) {
        strip->setColor(toQColor(colors.background));
        strip->setTextColor(toQColor(colors.text));
    }
    // The current syllable covers the end of pnlLyrics's text in its background.
    QPalette highlight = lblLyrics->palette();
    highlight.setColor(QPalette::Window, toQColor(colors.background));
    highlight.setColor(QPalette::WindowText, toQColor(colors.highlight));
    lblLyrics->setPalette(highlight);
}

void TfrmMain::showInstrumentOnPanels(int tag, const QString& caption)
{
    for (TPanel* panel : std::as_const(TrackPanels)) {
        if (tagOf(panel) == tag) {
            panel->setCaption(caption);
        }
    }
}

} // namespace harmonet
