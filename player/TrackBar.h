#pragma once

#include <QSlider>
#include <QTimer>

#include <optional>
#include <utility>

namespace harmonet {

// A horizontal slider whose value the user changes in whole steps of its
// singleStep: Left and Right (and Up and Down, as on a horizontal track) go to
// the previous and next multiple of the step (rounding the value to the nearest
// multiple first), Home and End to the ends, and a click on the track beside
// the thumb pages by the same rule, repeating every 400 ms while the button is
// held. valueChanged() reports every change,
// by the program or while the thumb is dragged; changed() reports that the
// user has finished one: the thumb released, a key step made, or a paging
// click ended.
class TTrackBar : public QSlider {
    Q_OBJECT

public:
    static constexpr int PageRepeatMs = 400;

    explicit TTrackBar(QWidget* parent = nullptr);

    // The values one step up and one step down from value, within the range.
    int nextStep(int value) const;
    int previousStep(int value) const;

    // Values from first to second drawn as a band along the track (the
    // loop on the position slider); none: no band.
    std::optional<std::pair<int, int>> markedSpan() const { return m_markedSpan; }
    void setMarkedSpan(const std::optional<std::pair<int, int>>& span);

signals:
    void changed();
    // A key pressed while the slider has the focus, other than its own step keys.
    void keyDown(QKeyEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // One page toward the value the mouse holds, unless the thumb has reached it.
    void pageTowardMouse();
    QRect thumbRect() const;

    // A child, so the repeat runs on the slider's thread and goes with it.
    QTimer* m_pageRepeat;
    int m_pageTarget = 0;
    bool m_pageForward = true;
    bool m_paging = false;
    std::optional<std::pair<int, int>> m_markedSpan;
};

} // namespace harmonet
