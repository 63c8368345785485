#pragma once

#include <QStringList>
#include <QWidget>

class QPlainTextEdit;

namespace harmonet {

// The lyrics window: the whole lyrics text of the loaded song in one
// scrollable text box. It lives from program start to exit; closing it only
// hides it. The main window puts the text in and clears it.
class TfrmLyrics : public QWidget {
    Q_OBJECT

public:
    explicit TfrmLyrics(QWidget* owner = nullptr);

    QPlainTextEdit* memoLyrics() const { return m_memoLyrics; }
    // Replaces the text box's text with these lines.
    void SetLines(const QStringList& lines);

private:
    QPlainTextEdit* m_memoLyrics;
};

} // namespace harmonet
