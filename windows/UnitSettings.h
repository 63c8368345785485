#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;

namespace harmonet {

class IMainWindowLink;

// The settings window. It lives from program start to exit and is shown and
// hidden. At creation it lists the output devices of the main window's output
// and opens the first of them through the main window.
class TfrmSettings : public QWidget {
    Q_OBJECT

public:
    // owner is the main window, which also holds this window as a child.
    TfrmSettings(QWidget* owner, IMainWindowLink& mainWindow);

    QComboBox* cbMidiOutput() const { return m_cbMidiOutput; }

private:
    QGroupBox* m_groupBox1;
    QComboBox* m_cbMidiOutput;
};

} // namespace harmonet
