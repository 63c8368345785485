#include "windows/UnitLyrics.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace harmonet {

TfrmLyrics::TfrmLyrics(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::Tool)
    , m_memoLyrics(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("frmLyrics"));
    setWindowTitle(QStringLiteral("Harmonet - Lyrics"));
    resize(345, 398);

    m_memoLyrics->setObjectName(QStringLiteral("memoLyrics"));
    m_memoLyrics->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_memoLyrics->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memoLyrics->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_memoLyrics);
}

void TfrmLyrics::SetLines(const QStringList& lines)
{
    m_memoLyrics->setPlainText(lines.join(QLatin1Char('\n')));
}

} // namespace harmonet
