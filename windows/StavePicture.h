#pragma once

#include <QWidget>

namespace harmonet {

// The About window's picture: a treble stave with a clef sign and the first
// notes of a hymn tune, drawn with QPainter at any size.
class TStavePicture : public QWidget {
    Q_OBJECT

public:
    explicit TStavePicture(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {240, 96}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace harmonet
