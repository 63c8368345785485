#pragma once

#include <QDialog>

namespace harmonet {

// The About window: the program's name, its version and a picture, shown
// modally and destroyed after one showing.
class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    // The version of this build, as the build system gives it ("0.1.0").
    static QString version();
};

} // namespace harmonet
