#pragma once

#include "core/Color.h"

#include <QString>

class QWidget;

namespace harmonet {

class PlayingSession;
class TTimeDisplay;

// The colours of the main window's scrolling-lyrics strip: the background and
// text of the sung and coming syllables, and the text of the current one.
struct TLyricStripColors {
    TColor background = clBtnFace;
    TColor text = clBlack;
    TColor highlight = clRed;

    friend bool operator==(const TLyricStripColors&, const TLyricStripColors&) = default;
};

// What the secondary windows use of the main window: its playing session,
// the operations that open and close the output device chosen in the
// settings window, the colours of its lyrics strip and time display, the
// captions and instruments of its track panels, and what the track mixer
// window needs of it.
class IMainWindowLink {
public:
    // The song being played, its tracks' settings and its output.
    virtual PlayingSession& session() = 0;
    // Opens the output named by the settings window's device choice.
    virtual void OpenMidiOutput() = 0;
    virtual void CloseMidiOutput() = 0;

    virtual TLyricStripColors lyricStripColors() const = 0;
    virtual void setLyricStripColors(const TLyricStripColors& colors) = 0;
    // The size of the strip's text in pixels at the window's smallest size
    // (it grows as the window is enlarged).
    virtual void setLyricStripFontSize(int pixels) = 0;
    virtual TTimeDisplay& timeDisplay() = 0;

    // Whether the track panels show instrument names rather than track names.
    virtual bool ShowInstruments() const { return false; }
    // The name of the track (its index in the song), or its instrument's,
    // decoded as the song's texts are.
    virtual QString PanelCaption(int track, bool instrument) const = 0;
    // Every track panel whose tag is tag takes the caption.
    virtual void showInstrumentOnPanels(int tag, const QString& caption) = 0;
    // The track mixer window is closing or being destroyed: the main window
    // forgets it, if it is the one it holds.
    virtual void MixerWindowClosed(QWidget* window) { (void)window; }

protected:
    ~IMainWindowLink() = default;
};

} // namespace harmonet
