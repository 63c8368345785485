// Program entry: harmonet [FILE]. The main window is created first, then the
// settings window and the lyrics window, each given what it uses; then the
// main window opens the output port chosen in the settings window. The
// program ends when the main window closes.
#include "app/HarmonetApplication.h"
#include "core/ErrorReport.h"
#include "player/StartupWindows.h"
#include "player/UnitMain.h"

#include <memory>

int main(int argc, char** argv)
{
    harmonet::THarmonetApplication app(argc, argv);
    app.setTitle(QStringLiteral("Harmonet - Midi Player"));

    // An error while the windows are created ends the start-up with its message.
    std::unique_ptr<harmonet::TfrmMain> frmMain;
    const bool created = harmonet::runGuarded([&] {
        frmMain = std::make_unique<harmonet::TfrmMain>();
        frmMain->SetCommandLine(app.arguments().mid(1));
        harmonet::createSecondaryWindows(*frmMain);
    });
    if (!created) {
        return 1;
    }
    frmMain->show();
    return app.exec();
}
