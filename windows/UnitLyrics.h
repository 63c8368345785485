#pragma once

#include <QStringList>
#include <QWidget>

class QAction;
class QMenu;

namespace harmonet {

class TfrmSettings;
class TIniOut;
class TMemo;

// The lyrics window: the whole lyrics text of the loaded song in one
// scrollable, editable text box whose text is never stored. It lives from
// program start to exit; closing it (or Esc) only hides it. The main window
// puts the text in and clears it; the settings window sets its font. Its
// place, size and font are kept in the settings.
class TfrmLyrics : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)

public:
    // owner is the main window, which also holds this window as a child;
    // settings is the settings window that "Change Display Font..." shows.
    TfrmLyrics(QWidget* owner, TfrmSettings& settings);
    ~TfrmLyrics() override;

    int Top() const { return y(); }
    void SetTop(int top) { move(x(), top); }
    int Left() const { return x(); }
    void SetLeft(int left) { move(left, y()); }
    int Height() const { return height(); }
    void SetHeight(int height) { resize(width(), height); }
    int Width() const { return width(); }
    void SetWidth(int width) { resize(width, height()); }

    TMemo* memoLyrics() const { return m_memoLyrics; }
    // Replaces the text box's text with these lines; none is marked.
    void SetLines(const QStringList& lines);
    // Marks the line (counted from 0 in the lines set) as the one being sung
    // and scrolls it into view when it is out of sight; -1 marks none.
    void HighlightLine(int line);
    int highlightedLine() const { return m_highlightedLine; }

    // The context menu's items.
    void Close1Click();
    // The whole text onto the clipboard (and the selection, where the desktop has one) as plain text.
    void CopytoClipboard1Click();
    // The settings window, modally.
    void ChangeDisplayFont1Click();

    TIniOut* IniOut1;
    QMenu* PopupMenu1;
    QAction* Close1;
    QAction* CopytoClipboard1;
    QAction* ChangeDisplayFont1;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createPopupMenu();
    // Ctrl+A in the text box, whatever other modifiers are held, selects the whole text.
    bool memoLyricsKeyDown(const QKeyEvent& key);

    TfrmSettings& m_settings;
    TMemo* m_memoLyrics;
    int m_highlightedLine = -1;
};

} // namespace harmonet
