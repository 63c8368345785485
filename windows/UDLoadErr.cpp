#include "windows/UDLoadErr.h"

#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

namespace harmonet {

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& place, const QFont& font)
{
    auto* result = new QLabel(text, parent);
    result->setObjectName(QLatin1String(name));
    result->setGeometry(place);
    result->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    result->setFont(font);
    return result;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& place)
{
    auto* result = new QPushButton(caption, parent);
    result->setObjectName(QLatin1String(name));
    result->setGeometry(place);
    return result;
}

} // namespace

TdlgLoadError::TdlgLoadError(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("dlgLoadError"));
    setWindowTitle(tr("Error Loading File..."));
    setWindowIcon(QIcon(picture()));
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);
    QPalette look = palette();
    look.setColor(QPalette::WindowText, Qt::black);
    setPalette(look);

    pnlLoadError = new QFrame(this);
    pnlLoadError->setObjectName(QStringLiteral("pnlLoadError"));
    pnlLoadError->setGeometry(7, 7, 263, 74);
    pnlLoadError->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    Image1 = new QLabel(pnlLoadError);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(7, 9, 32, 32);
    Image1->setPixmap(picture());

    QFont reportFont(QStringLiteral("Arial"));
    reportFont.setPixelSize(19);
    lblReportFile = label(pnlLoadError, "lblReportFile", tr("Midi file not found"), {40, 12, 219, 25},
                          reportFont);
    QFont questionFont = font();
    questionFont.setPixelSize(13);
    questionFont.setBold(true);
    lblLoadAnother = label(pnlLoadError, "lblLoadAnother", tr("Load another one now?"),
                           {57, 44, 183, 16}, questionFont);

    btnOk = button(this, "btnOk", tr("&Ok"), {57, 88, 75, 25});
    btnOk->setDefault(true);
    btnCancel = button(this, "btnCancel", tr("&Cancel"), {145, 88, 75, 25});
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    btnOk->setFocus();

    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - ClientWidth) / 2, area.y() + (area.height() - ClientHeight) / 2);
    }
}

QPixmap TdlgLoadError::picture()
{
    QPixmap result(32, 32);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing);

    // A sheet with a folded corner, two stave lines and a note on it.
    QPainterPath sheet;
    sheet.moveTo(5.5, 1.5);
    sheet.lineTo(19.5, 1.5);
    sheet.lineTo(26.5, 8.5);
    sheet.lineTo(26.5, 30.5);
    sheet.lineTo(5.5, 30.5);
    sheet.closeSubpath();
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    painter.setBrush(Qt::white);
    painter.drawPath(sheet);
    painter.setBrush(QColor(0xd0, 0xd0, 0xd0));
    painter.drawPolygon(QPolygonF({{19.5, 1.5}, {19.5, 8.5}, {26.5, 8.5}}));
    painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    for (double y : {22.5, 25.5, 28.5}) {
        painter.drawLine(QPointF(8, y), QPointF(24, y));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x30, 0x30, 0x30));
    painter.drawEllipse(QPointF(11, 25.5), 2.4, 1.7);
    painter.fillRect(QRectF(12.6, 17, 1, 8.5), QColor(0x30, 0x30, 0x30));

    // The question mark in a blue disc over the sheet.
    painter.setBrush(QColor(0x1f, 0x5f, 0xbf));
    painter.setPen(QPen(Qt::white, 1.2));
    painter.drawEllipse(QPointF(19, 13), 8.5, 8.5);
    QFont mark(QStringLiteral("DejaVu Sans"));
    mark.setPixelSize(14);
    mark.setBold(true);
    painter.setFont(mark);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(10.5, 4.5, 17, 17), Qt::AlignCenter, QStringLiteral("?"));
    painter.end();
    return result;
}

} // namespace harmonet
