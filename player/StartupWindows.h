#pragma once

namespace harmonet {

class TfrmMain;

// Creates the settings window and the lyrics window of the main window, each
// given what it uses, and then opens the output port chosen in the settings
// window: the start-up order of the program after the main window exists.
// The windows are children of the main window and live as long as it does.
void createSecondaryWindows(TfrmMain& main);

} // namespace harmonet
