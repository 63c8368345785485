#pragma once

#include "core/Color.h"
#include "widgets/ControlTypes.h"

#include <QFont>
#include <QString>
#include <QWidget>

class QPainter;

namespace harmonet {

// An area given by its edges, with right and bottom just outside it (the
// area's width is right - left), the way the read-out's drawing computes it.
struct TEdges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend constexpr bool operator==(TEdges, TEdges) = default;
};

// A digital time read-out: a time in milliseconds shown as hours, minutes,
// seconds and hundredths ("␣1:02:03.45") in the text colour on the background
// colour, inside an outer and an inner bevel. Setting Time draws the new text
// at once (a synchronous repaint), so the read-out keeps step with playback
// even while the event loop is busy.
//
// Text colour: a QFont has no colour, so the font's colour is the property
// FontColor beside Font.
class TTimeDisplay : public QWidget {
public:
    // What the read-out shows: the time, the bar and beat ("23.3"), or the
    // bar and beat beside minutes and seconds ("23.3  1:02").
    enum class Shows { Time, Bars, Both };

private:
    Q_OBJECT
    Q_PROPERTY(qint32 Time READ time WRITE setTime)
    Q_PROPERTY(qint32 Hours READ hours)
    Q_PROPERTY(qint32 Mins READ mins)
    Q_PROPERTY(qint32 Secs READ secs)
    Q_PROPERTY(qint32 CS READ cs)
    Q_PROPERTY(harmonet::controls::TBevelStyle BevelInner READ bevelInner WRITE setBevelInner)
    Q_PROPERTY(harmonet::controls::TBevelStyle BevelOuter READ bevelOuter WRITE setBevelOuter)
    Q_PROPERTY(harmonet::controls::TBorderStyle BorderStyle READ borderStyle WRITE setBorderStyle)
    Q_PROPERTY(harmonet::controls::TAlignment Alignment READ alignment WRITE setAlignment)
    Q_PROPERTY(QFont Font READ displayFont WRITE setDisplayFont)
    Q_PROPERTY(harmonet::TColor FontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(harmonet::TColor Color READ color WRITE setColor)
    Q_PROPERTY(harmonet::controls::TAlign Align READ align WRITE setAlign)
    Q_PROPERTY(bool Ctl3D READ ctl3D WRITE setCtl3D)
    Q_PROPERTY(bool ParentColor READ parentColor WRITE setParentColor)
    Q_PROPERTY(bool ParentFont READ parentFont WRITE setParentFont)
    Q_PROPERTY(int TabOrder READ tabOrder WRITE setTabOrder)

public:
    explicit TTimeDisplay(QWidget* parent = nullptr);

    // The read-out text of a time: hours at least two characters wide, padded
    // with a space; minutes, seconds and hundredths at least two digits; a
    // negative field keeps its minus sign before its digits (-37 ms gives
    // " 0:00:00.-03").
    static QString formatTime(qint32 ms);

    qint32 time() const { return m_time; }
    // A new value recomputes the fields and draws at once; the same value does nothing.
    void setTime(qint32 ms);
    qint32 hours() const { return m_hours; }
    qint32 mins() const { return m_mins; }
    qint32 secs() const { return m_secs; }
    qint32 cs() const { return m_cs; }

    controls::TBevelStyle bevelInner() const { return m_bevelInner; }
    void setBevelInner(controls::TBevelStyle style);
    controls::TBevelStyle bevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(controls::TBevelStyle style);
    // Kept and repainted on change; the drawing does not use it.
    controls::TBorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(controls::TBorderStyle style);
    controls::TAlignment alignment() const { return m_alignment; }
    void setAlignment(controls::TAlignment alignment);

    // The text font. Setting it stops taking the font from the parent.
    QFont displayFont() const { return font(); }
    void setDisplayFont(const QFont& font);
    // The text colour: the parent's while ParentFont is on.
    TColor fontColor() const;
    void setFontColor(TColor color);
    // The background colour: the parent's while ParentColor is on.
    TColor color() const;
    void setColor(TColor color);

    controls::TAlign align() const { return m_align; }
    void setAlign(controls::TAlign align);
    // Kept for the control's 3-D look; the read-out draws its own bevels.
    bool ctl3D() const { return m_ctl3D; }
    void setCtl3D(bool on) { m_ctl3D = on; }
    bool parentColor() const { return m_parentColor; }
    void setParentColor(bool on);
    bool parentFont() const { return !testAttribute(Qt::WA_SetFont); }
    void setParentFont(bool on);
    int tabOrder() const;
    void setTabOrder(int position);

    Shows shows() const { return m_shows; }
    void setShows(Shows shows);
    // The bar and beat of the time shown, as the bars are counted; while it
    // is empty the time stands alone.
    const QString& barBeat() const { return m_barBeat; }
    void setBarBeat(const QString& text);
    // The text drawn now.
    QString shownText() const;

    // Where the text goes, as computed by the last paint; all zero before the first.
    TEdges textRect() const { return m_textRect; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drawBevel(QPainter& painter, int x, int y, int w, int h,
                   controls::TBevelStyle style) const;
    void drawTime(QPainter& painter) const;
    void applyAlign();
    void watchParent(QWidget* parent);

    qint32 m_time = 0;
    qint32 m_hours = 0;
    qint32 m_mins = 0;
    qint32 m_secs = 0;
    qint32 m_cs = 0;
    controls::TBevelStyle m_bevelInner = controls::bvNone;
    controls::TBevelStyle m_bevelOuter = controls::bvNone;
    controls::TBorderStyle m_borderStyle = controls::bsNone;
    controls::TAlignment m_alignment = controls::taLeftJustify;
    controls::TAlign m_align = controls::alNone;
    TColor m_color = clWindow;
    TColor m_fontColor = clWindowText;
    bool m_ctl3D = true;
    bool m_parentColor = false;
    TEdges m_textRect;
    QWidget* m_watchedParent = nullptr;
    Shows m_shows = Shows::Time;
    QString m_barBeat;
};

} // namespace harmonet
