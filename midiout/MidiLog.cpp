#include "midiout/MidiLog.h"

#include "midiout/AudioLibraryLog.h"
#include "midiout/MidiMessage.h"

namespace harmonet {

std::unique_ptr<MidiLog> MidiLog::fromEnvironment()
{
    const QString path = qEnvironmentVariable("HARMONET_MIDI_LOG");
    if (path.isEmpty()) {
        return nullptr;
    }
    auto log = std::make_unique<MidiLog>(path);
    if (!log->isOpen()) {
        qCWarning(lcMidiOut) << "cannot append to the MIDI log" << path;
        return nullptr;
    }
    return log;
}

MidiLog::MidiLog(const QString& path) : m_file(path)
{
    m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text); // isOpen() tells
}

void MidiLog::write(qint64 milliseconds, const QByteArray& bytes)
{
    m_file.write(QByteArray::number(milliseconds) + ' ' + hexBytes(bytes) + '\n');
    m_file.flush();
}

} // namespace harmonet
