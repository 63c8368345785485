#pragma once

#include "practice/BarLoop.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QSpinBox;

namespace harmonet {

// Controls > "Go to Bar...": the bar to go to, and optionally the bars of a
// loop with its number of passes (0: until cleared). Bar numbers are those
// a score prints, within the song's first and last bar.
class TdlgGoToBar : public QDialog {
    Q_OBJECT

public:
    TdlgGoToBar(qint64 firstBar, qint64 lastBar, qint64 currentBar, const std::optional<BarLoop>& loop,
                QWidget* parent = nullptr);

    qint64 bar() const;
    // The loop asked for, or none when "Loop" is not ticked.
    std::optional<BarLoop> loop() const;

    QSpinBox* edBar;
    QCheckBox* cbLoop;
    QSpinBox* edLoopFrom;
    QSpinBox* edLoopTo;
    QSpinBox* edPasses;
};

} // namespace harmonet
