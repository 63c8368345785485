#include "windows/UnitSettings.h"

#include "midiout/MidiOut.h"
#include "windows/MainWindowLink.h"

#include <QComboBox>
#include <QGroupBox>

namespace harmonet {

TfrmSettings::TfrmSettings(QWidget* owner, IMainWindowLink& mainWindow)
    : QWidget(owner, Qt::Window | Qt::Tool | Qt::MSWindowsFixedSizeDialogHint)
    , m_groupBox1(new QGroupBox(QStringLiteral(" MIDI Output Port "), this))
    , m_cbMidiOutput(new QComboBox(m_groupBox1))
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Harmonet - Settings"));
    setFixedSize(466, 322);

    m_groupBox1->setObjectName(QStringLiteral("GroupBox1"));
    m_groupBox1->setGeometry(246, 219, 201, 54);
    m_cbMidiOutput->setObjectName(QStringLiteral("cbMidiOutput"));
    m_cbMidiOutput->setGeometry(12, 19, 176, m_cbMidiOutput->sizeHint().height());
    m_cbMidiOutput->setEditable(false);

    TMidiOutput& output = mainWindow.midiOutput();
    for (int id = 0; id < output.DeviceCount(); ++id) {
        output.setDeviceID(id);
        m_cbMidiOutput->addItem(output.ProductName());
    }
    if (m_cbMidiOutput->count() > 0) {
        m_cbMidiOutput->setCurrentIndex(0);
    }
    mainWindow.OpenMidiOutput();
}

} // namespace harmonet
