#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace harmonet {

// The question shown when a file chosen from the recent files no longer
// exists: "Midi file not found", "Load another one now?", answered with Ok
// (also Enter) or Cancel (also Escape and the close box). A fixed 277 x 118
// dialog centred on the screen; a new one is made for each showing.
class TdlgLoadError : public QDialog {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 277;
    static constexpr int ClientHeight = 118;

    explicit TdlgLoadError(QWidget* parent = nullptr);

    // The 32 x 32 picture beside the message, also the window's icon: a
    // sheet of music with a question mark over it, on a transparent ground.
    static QPixmap picture();

    QFrame* pnlLoadError;
    QLabel* Image1;
    QLabel* lblReportFile;
    QLabel* lblLoadAnother;
    QPushButton* btnOk;
    QPushButton* btnCancel;
};

} // namespace harmonet
