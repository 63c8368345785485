#include "player/StartupWindows.h"

#include "player/UnitMain.h"
#include "windows/UnitLyrics.h"
#include "windows/UnitSettings.h"

namespace harmonet {

void createSecondaryWindows(TfrmMain& main)
{
    auto* settings = new TfrmSettings(&main, main, *main.MidiOutput1);
    auto* lyrics = new TfrmLyrics(&main, *settings);
    settings->SetLyricsWindow(*lyrics);
    main.SetSecondaryWindows(*settings, *lyrics);
    main.OpenMidiOutput();
}

} // namespace harmonet
