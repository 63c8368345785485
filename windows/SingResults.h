#pragma once

#include "singing/NoteScoring.h"
#include "singing/SingingMemory.h"

#include <QList>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;
class QTreeWidget;

namespace harmonet {

// The note name of a MIDI key as a singer reads it: "F#4" (C4 is 60).
QString keyName(int key);

// The outcome of a pass of singing along: each note of my part in the bars
// sung (bar and beat, the note, how many cents off, how early or late, the
// verdict), a summary, the worst bars, and the passes sung before on this
// file. The main window owns it and shows it after each pass; Esc closes it.
class TfrmSingResults : public QWidget {
    Q_OBJECT

public:
    explicit TfrmSingResults(QWidget* owner);

    // Shows the results of the pass just sung and the passes remembered for
    // the file (the last one being this one).
    void showPass(const std::vector<NoteResult>& results, const TakeSummary& summary, const QList<PassRecord>& passes);

    QLabel* lblSummary;
    QTableWidget* tblNotes;
    QLabel* lblWorstBars;
    // Loops the worst bar (shown while a bar went wrong).
    QPushButton* btnLoopWorstBar;
    QTreeWidget* lstPasses;

signals:
    // The singer asks to practise this bar over and over.
    void loopBarRequested(qint64 bar);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::optional<qint64> m_worstBar;
};

// "+12", "−105" (a true minus), "" for none.
QString signedText(std::optional<double> value);
// The verdict for the user ("in tune", "flat", ...).
QString verdictText(NoteVerdict verdict);

} // namespace harmonet
