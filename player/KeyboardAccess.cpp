// Keyboard and screen-reader access to the main window: the Tab order over
// every control, Space and Enter on buttons, the focus kept in view inside
// the track panels' scroll box, and a name for every control.
#include "player/UnitMain.h"

#include "player/Panel.h"
#include "widgets/ButtonKeys.h"
#include "widgets/ImageButton.h"
#include "windows/OwnKeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>

namespace harmonet {

QList<QWidget*> TfrmMain::tabOrder() const
{
    QList<QWidget*> order{btnLoad};
    for (int n = 1; n <= TrackPanelCount; ++n) {
        // Left to right within a panel, as they are drawn.
        order << lyricsButtonOf(n) << muteButtonOf(n);
    }
    order << cbInstruments;
    order << btnPlay << btnRewind << btnFastForward << btnStop << btnPause << sbTimeDown;
    order << sbMixer << sbViewLyrics << sbClose << sbSettings << sbHelp;
    order << tbPosition << tbTempo;
    order << tbMasterV << sbMasterMute << tbMidiV << sbMidiMute << tbTreble << tbBass;
    return order;
}

void TfrmMain::setupKeyboardAccess()
{
    const QList<QWidget*> order = tabOrder();
    // Sliders are named by the label beside them; buttons by their caption or hint.
    const QList<std::pair<QSlider*, QLabel*>> sliderLabels{
        {tbPosition, Label1}, {tbTempo, lblTempo}, {tbMasterV, lblMasterV},
        {tbMidiV, lblMidiV}, {tbTreble, lblTreble}, {tbBass, lblBass}};
    for (const auto& [slider, label] : sliderLabels) {
        slider->setAccessibleName(label->text().trimmed());
    }
    for (QWidget* control : order) {
        if (auto* panel = qobject_cast<TPanel*>(control)) {
            panel->setFocusPolicy(Qt::TabFocus);
        }
        if (!qobject_cast<QSlider*>(control)) {
            TButtonKeys::install(control);
        }
    }
    // Escape, Space and the other keys of this window act only when it is active.
    keepKeysInToolWindows(*this);
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    // The scroll box itself is no stop; the panel button Tab reaches scrolls into view.
    ScrollBox1->setFocusPolicy(Qt::NoFocus);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && ScrollBox1->widget()->isAncestorOf(now)) {
            ScrollBox1->ensureWidgetVisible(now, 0, 0);
        }
    });
}

} // namespace harmonet
