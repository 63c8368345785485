#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

namespace harmonet {

// The message log of an open device: one line per message sent, the
// milliseconds since the device was opened and the bytes in hexadecimal
// ("1234 90 3C 64"). Lines are appended and flushed one by one, so the log
// is complete up to the last message even if the program ends abruptly.
class MidiLog {
public:
    // The log named by the environment variable HARMONET_MIDI_LOG, or null
    // when it is unset or the file cannot be opened for appending.
    static std::unique_ptr<MidiLog> fromEnvironment();

    explicit MidiLog(const QString& path);

    bool isOpen() const { return m_file.isOpen(); }
    void write(qint64 milliseconds, const QByteArray& bytes);

private:
    QFile m_file;
};

} // namespace harmonet
