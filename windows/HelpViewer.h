#pragma once

#include <QUrl>
#include <QWidget>

class QKeyEvent;
class QTextBrowser;

namespace harmonet {

// Help context numbers of the program's windows and topics.
namespace HelpContext {
inline constexpr int Contents = 10;
inline constexpr int MainWindow = 20;
inline constexpr int TrackMixer = 200;
inline constexpr int LyricsWindow = 210;
inline constexpr int Settings = 230;
inline constexpr int LyricsWindowFont = 3900;
} // namespace HelpContext

// The help window: the program's own help pages, shipped inside the program as
// resources, in a browser with back, forward and contents buttons. It opens at
// the page of a help context number.
class THelpViewer : public QWidget {
    Q_OBJECT

public:
    explicit THelpViewer(QWidget* parent = nullptr);

    // The page of a context number; the contents page for an unknown number.
    static QUrl pageOfContext(int context);

    // Shows the page of the context and brings the window to the front.
    void showContext(int context);

    QTextBrowser* browser() const { return m_browser; }

protected:
    // Escape closes the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* m_browser;
};

// Shows help at the context, in the help window owned by owner's window
// (created the first time).
THelpViewer* showHelpContext(QWidget* owner, int context);

} // namespace harmonet
