#include "windows/UnitLyrics.h"

#include "core/ErrorReport.h"
#include "persist/IniOut.h"
#include "windows/SettingsItems.h"
#include "windows/HelpViewer.h"
#include "windows/Memo.h"
#include "windows/UnitSettings.h"
#include "windows/WindowPlacement.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTextBlock>
#include <QVBoxLayout>

namespace harmonet {

TfrmLyrics::TfrmLyrics(QWidget* owner, TfrmSettings& settings)
    : QWidget(owner, Qt::Tool)
    , m_settings(settings)
    , m_memoLyrics(new TMemo(this))
{
    setObjectName(QStringLiteral("frmLyrics"));
    setWindowTitle(tr("Harmonet - Lyrics"));
    resize(345, 398);

    m_memoLyrics->setObjectName(QStringLiteral("memoLyrics"));
    m_memoLyrics->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_memoLyrics->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memoLyrics->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memoLyrics->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_memoLyrics);
    createPopupMenu();

    IniOut1 = new TIniOut(this);
    IniOut1->setObjectName(QStringLiteral("IniOut1"));
    IniOut1->setItems(lyricsFormSettingsItems());
    IniOut1->Load();
    centreUnlessOnScreen(*this);
}

TfrmLyrics::~TfrmLyrics()
{
    IniOut1->Save();
}

void TfrmLyrics::createPopupMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, const QString& caption, void (TfrmLyrics::*handler)()) {
        auto* action = PopupMenu1->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); });
        return action;
    };
    Close1 = item("Close1", tr("Close"), &TfrmLyrics::Close1Click);
    PopupMenu1->setDefaultAction(Close1);
    PopupMenu1->addSeparator();
    CopytoClipboard1 = item("CopytoClipboard1", tr("Copy to Clipboard"), &TfrmLyrics::CopytoClipboard1Click);
    PopupMenu1->addSeparator();
    ChangeDisplayFont1 =
        item("ChangeDisplayFont1", tr("Change Display Font..."), &TfrmLyrics::ChangeDisplayFont1Click);

    // The window's menu takes the place of the text box's own.
    m_memoLyrics->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_memoLyrics, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(m_memoLyrics->mapToGlobal(pos)); });
}

void TfrmLyrics::SetLines(const QStringList& lines)
{
    m_memoLyrics->setPlainText(lines.join(QLatin1Char('\n')));
    m_highlightedLine = -1;
}

void TfrmLyrics::HighlightLine(int line)
{
    const QTextBlock block = m_memoLyrics->document()->findBlockByNumber(line);
    if (!block.isValid()) {
        line = -1;
    }
    if (line == m_highlightedLine) {
        return;
    }
    m_highlightedLine = line;
    QList<QTextEdit::ExtraSelection> marks;
    if (block.isValid()) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(block);
        QColor background = palette().color(QPalette::Highlight);
        background.setAlphaF(0.3);
        mark.format.setBackground(background);
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks.append(mark);
        m_memoLyrics->showLine(line);
    }
    m_memoLyrics->setExtraSelections(marks);
}

void TfrmLyrics::Close1Click()
{
    close();
}

void TfrmLyrics::CopytoClipboard1Click()
{
    m_memoLyrics->selectAll();
    const QString text = m_memoLyrics->toPlainText();
    // Set as text, the clipboard owns its copy: it stays after the window hides.
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text, QClipboard::Clipboard);
    if (clipboard->supportsSelection()) {
        clipboard->setText(text, QClipboard::Selection);
    }
    QTextCursor cursor = m_memoLyrics->textCursor();
    cursor.clearSelection();
    m_memoLyrics->setTextCursor(cursor);
}

void TfrmLyrics::ChangeDisplayFont1Click()
{
    m_settings.ShowModal();
}

bool TfrmLyrics::memoLyricsKeyDown(const QKeyEvent& key)
{
    if (key.key() == Qt::Key_A && (key.modifiers() & Qt::ControlModifier)) {
        m_memoLyrics->selectAll();
        return true;
    }
    return false;
}

bool TfrmLyrics::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_memoLyrics && event->type() == QEvent::KeyPress
        && memoLyricsKeyDown(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TfrmLyrics::event(QEvent* event)
{
    // Ctrl+A with any other modifiers selects the text; no shortcut may take it.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_A && (key->modifiers() & Qt::ControlModifier)) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void TfrmLyrics::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_F1) {
        showHelpContext(this, HelpContext::LyricsWindow);
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace harmonet
