// Program entry: harmonet [FILE]. The main window is created first, then the
// settings window (which opens the output device through the main window) and
// the lyrics window; the program ends when the main window closes.
#include "app/HarmonetApplication.h"
#include "core/ErrorReport.h"
#include "player/UnitMain.h"
#include "windows/UnitLyrics.h"
#include "windows/UnitSettings.h"

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
        new harmonet::TfrmSettings(frmMain.get(), *frmMain);
        new harmonet::TfrmLyrics(frmMain.get());
    });
    if (!created) {
        return 1;
    }
    frmMain->show();
    return app.exec();
}
