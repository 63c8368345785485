#pragma once

#include "sequencer/MidiFile.h"
#include "sequencer/SmfWriter.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <vector>

namespace harmonet::test {

// Loads bytes into file and returns the message of the error raised, or an
// empty string when the load succeeded.
inline QString loadReportingError(TMidiFile& file, const QByteArray& bytes)
{
    try {
        file.LoadSongFromBytes(bytes);
    } catch (const Exception& error) {
        return error.message();
    }
    return QString();
}

// Records every event handed to a file's OnMidiEvent.
struct EventRecorder {
    std::vector<PMidiEvent> events;

    void attach(TMidiFile& file)
    {
        file.SetOnMidiEvent([this](PMidiEvent event) { events.push_back(event); });
    }

    std::vector<qint32> ticks() const
    {
        std::vector<qint32> out;
        for (PMidiEvent event : events) {
            out.push_back(event->Ticks);
        }
        return out;
    }
};

inline QByteArray textOf(PMidiEvent event)
{
    return event->Text().toByteArray();
}

} // namespace harmonet::test
