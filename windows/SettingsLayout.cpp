// The settings window's controls and their places. Positions are left, top
// within the parent, in pixels.
#include "windows/UnitSettings.h"

#include "windows/BevelPanel.h"
#include "windows/InstrumentMenu.h"
#include "widgets/CheckBox.h"
#include "widgets/ColorPicker.h"
#include "widgets/ImageButton.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace harmonet {

using namespace controls;

namespace {

constexpr int TrackPanelHeight = 22;

template <typename Control>
Control* named(Control* control, const char* name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

QGroupBox* groupBox(QWidget* parent, const char* name, const QString& caption, const QRect& place)
{
    auto* box = named(new QGroupBox(caption, parent), name);
    box->setGeometry(place);
    return box;
}

TColorPicker* colorPicker(QWidget* parent, const char* name, int left, int top, TColor color)
{
    auto* picker = named(new TColorPicker(parent), name);
    picker->setGeometry(left, top, 45, 22);
    picker->setColor(color);
    return picker;
}

QLabel* label(QWidget* parent, const QString& caption, int left, int top)
{
    auto* result = new QLabel(caption, parent);
    result->adjustSize();
    result->move(left, top);
    return result;
}

TFont windowFont(TColor color, bool bold)
{
    TFont font;
    font.setColor(color);
    font.setStyle(bold ? TFont::TFontStyles(TFont::fsBold) : TFont::TFontStyles());
    return font;
}

TFont courierFont(TColor color, bool bold)
{
    TFont font;
    font.setName(QStringLiteral("Courier New"));
    font.setPitch(TFont::fpFixed);
    font.setHeight(-13);
    font.setColor(color);
    font.setStyle(bold ? TFont::TFontStyles(TFont::fsBold) : TFont::TFontStyles());
    return font;
}

// The font button's picture: a large and a small letter A, as font choices show.
QPixmap fontGlyph()
{
    QPixmap glyph(16, 16);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont big(QStringLiteral("Times New Roman"));
    big.setPixelSize(14);
    big.setBold(true);
    painter.setFont(big);
    painter.setPen(QColor(0, 0, 128));
    painter.drawText(QRect(0, 0, 11, 16), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("A"));
    QFont small = big;
    small.setPixelSize(9);
    painter.setFont(small);
    painter.setPen(QColor(128, 0, 0));
    painter.drawText(QRect(9, 0, 7, 15), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("A"));
    return glyph;
}

} // namespace

void TfrmSettings::createControls()
{
    // Small sans-serif faces of the width the places were made for, in order of preference.
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setPixelSize(11);
    setFont(font);

    pnlSettings = named(new QFrame(this), "pnlSettings");
    pnlSettings->setGeometry(6, 8, 453, 278);
    pnlSettings->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    createLyricOptions();
    createTimeDisplayOptions();
    createInstrumentOptions();
    createPortChoice();
    createButtons();
}

void TfrmSettings::createLyricOptions()
{
    gbLyrics = groupBox(pnlSettings, "gbLyrics", tr(" Lyric Options "), QRect(13, 9, 217, 195));
    gbScrollingLyrics = groupBox(gbLyrics, "gbScrollingLyrics", tr("Scrolling Lyrics "), QRect(14, 17, 188, 131));
    label(gbScrollingLyrics, tr("Background Color "), 20, 22);
    label(gbScrollingLyrics, tr("Text Color"), 20, 43);
    label(gbScrollingLyrics, tr("Hilight Color"), 20, 65);
    cbBackground = colorPicker(gbScrollingLyrics, "cbBackground", 116, 17, clBlack);
    cbText = colorPicker(gbScrollingLyrics, "cbText", 116, 39, clBlack);
    cbHilight = colorPicker(gbScrollingLyrics, "cbHilight", 116, 60, clBlack);
    QLabel* fontSize = label(gbScrollingLyrics, tr("Font &Size"), 20, 87);
    sbStripFontSize = named(new QSpinBox(gbScrollingLyrics), "sbStripFontSize");
    sbStripFontSize->setGeometry(116, 82, 60, 21);
    sbStripFontSize->setRange(SmallestStripFontSize, LargestStripFontSize);
    sbStripFontSize->setValue(DefaultStripFontSize);
    sbStripFontSize->setSuffix(tr(" px"));
    sbStripFontSize->setAccessibleName(tr("Scrolling lyrics font size"));
    fontSize->setBuddy(sbStripFontSize);

    // The preview reads as a lyric line whose middle word ("of") is the
    // highlighted one, in the singer's language; the panel holds the other
    // two words with blanks between them where the highlighted word stands.
    const QString firstWord = tr("Example", "the lyrics preview: Example of Lyrics");
    const QString middleWord = tr("of", "the lyrics preview: Example of Lyrics");
    const QString lastWord = tr("Lyrics", "the lyrics preview: Example of Lyrics");
    pnlLyrics = named(new TBevelPanel(gbScrollingLyrics), "pnlLyrics");
    pnlLyrics->setGeometry(12, 106, 163, 25);
    pnlLyrics->setBevels(bvLowered, bvRaised);
    pnlLyrics->setPanelFont(courierFont(clBlack, false));
    pnlLyrics->setCaption(firstWord + QString(middleWord.size() + 2, QLatin1Char(' ')) + lastWord);
    lblHilightText = named(new QLabel(middleWord, pnlLyrics), "lblHilightText");
    lblHilightText->setFont(courierFont(clRed, true).toQFont());
    QPalette highlight = lblHilightText->palette();
    highlight.setColor(QPalette::WindowText, Qt::red);
    lblHilightText->setPalette(highlight);
    lblHilightText->adjustSize();
    // Over the blanks between the two words, wherever the face puts them.
    const QFontMetrics metrics(pnlLyrics->font());
    const int textLeft = (pnlLyrics->width() - metrics.horizontalAdvance(pnlLyrics->caption())) / 2;
    const int gapLeft = textLeft + metrics.horizontalAdvance(firstWord + QLatin1Char(' '));
    lblHilightText->move(qMax(gapLeft, 0), (pnlLyrics->height() - lblHilightText->height()) / 2);

    sbLyricsWindowFont = named(new TImageButton(gbLyrics), "sbLyricsWindowFont");
    sbLyricsWindowFont->setGeometry(15, 159, 21, 22);
    sbLyricsWindowFont->setGlyph(fontGlyph());
    sbLyricsWindowFont->setToolTip(tr("Lyrics Window Font"));
    pnlLyricsWindowFont = named(new TBevelPanel(gbLyrics), "pnlLyricsWindowFont");
    pnlLyricsWindowFont->setGeometry(35, 159, 165, 22);
    pnlLyricsWindowFont->setColor(clWindow);
    pnlLyricsWindowFont->setBevels(bvLowered, bvNone);
    pnlLyricsWindowFont->setPanelFont(windowFont(clWindowText, false));
    pnlLyricsWindowFont->setCaption(tr("Lyrics Window Font"));
}

void TfrmSettings::createTimeDisplayOptions()
{
    gbTimeDisplay = groupBox(pnlSettings, "gbTimeDisplay", tr(" Time Display Options "), QRect(13, 211, 217, 54));
    pnlTimeDisplay = named(new TBevelPanel(gbTimeDisplay), "pnlTimeDisplay");
    pnlTimeDisplay->setGeometry(15, 22, 76, 18);
    pnlTimeDisplay->setBevels(bvNone, bvNone);
    pnlTimeDisplay->setBorderStyle(bsSingle);
    pnlTimeDisplay->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    pnlTimeDisplay->setColor(clBlack);
    pnlTimeDisplay->setPanelFont(windowFont(clLime, true));
    pnlTimeDisplay->setCaption(QStringLiteral("0:00:00.00 "));
    cbTimeText = colorPicker(gbTimeDisplay, "cbTimeText", 104, 19, clLime);
    cbTimeBackground = colorPicker(gbTimeDisplay, "cbTimeBackground", 159, 19, clBlack);
}

void TfrmSettings::createInstrumentOptions()
{
    // The check box stands in the group's caption place.
    gbInstruments = groupBox(pnlSettings, "gbInstruments", QStringLiteral("                                "),
                             QRect(241, 9, 199, 195));
    cbDefaultInstruments = named(new TCheckBox(tr("Default Instruments"), gbInstruments),
                                 "cbDefaultInstruments");
    // As wide as its caption needs (another language's may be longer), within the group.
    cbDefaultInstruments->setGeometry(12, 1, std::clamp(cbDefaultInstruments->sizeHint().width(), 114, 199 - 24), 14);
    cbDefaultInstruments->setAutoFillBackground(true);

    ScrollBox1 = named(new QScrollArea(gbInstruments), "ScrollBox1");
    ScrollBox1->setGeometry(16, 22, 165, 126);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* list = new QWidget;
    list->setObjectName(QStringLiteral("TrackPanelList"));
    list->setFixedSize(140, TrackPanelCount * TrackPanelHeight + 1);
    for (int n = 1; n <= TrackPanelCount; ++n) {
        auto* panel = new TBevelPanel(list);
        panel->setObjectName(QStringLiteral("TrackPanel%1").arg(n));
        panel->setGeometry(1, TrackPanelHeight * (n - 1), 139, TrackPanelHeight);
        panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        panel->setFocusPolicy(Qt::StrongFocus);
        panel->setPanelFont(windowFont(clWindowText, false));
        panel->setCaption(tr("Track %1").arg(n));
        TrackPanels.append(panel);
    }
    ScrollBox1->setWidget(list);
    ScrollBox1->verticalScrollBar()->setSingleStep(TrackPanelHeight);

    cbChangeAll = named(new TCheckBox(tr("Change All"), gbInstruments), "cbChangeAll");
    cbChangeAll->adjustSize();
    cbChangeAll->move(17, 161);
    btnClearAll = named(new QPushButton(tr("Clear All"), gbInstruments), "btnClearAll");
    btnClearAll->setGeometry(106, 157, 77, 25);
    btnClearAll->setAutoDefault(false);

    pmInstruments = new TInstrumentMenu(QStringLiteral("pmInstruments"), this);
}

void TfrmSettings::createPortChoice()
{
    GroupBox1 = groupBox(pnlSettings, "GroupBox1", tr(" MIDI Output Port "), QRect(240, 211, 201, 54));
    cbMidiOutput = named(new QComboBox(GroupBox1), "cbMidiOutput");
    cbMidiOutput->setEditable(false);
    cbMidiOutput->setGeometry(12, 19, 176, 21);
}

void TfrmSettings::createButtons()
{
    auto button = [this](const char* name, const QString& caption, int left) {
        auto* result = named(new QPushButton(caption, this), name);
        result->setGeometry(left, 292, 75, 25);
        result->setAutoDefault(false);
        return result;
    };
    btnOk = button("btnOk", tr("Ok"), 215);
    btnOk->setDefault(true);
    btnCancel = button("btnCancel", tr("Cancel"), 299);
    btnApply = button("btnApply", tr("Apply"), 383);
}

} // namespace harmonet
