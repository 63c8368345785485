#pragma once

#include "mixer/MixerBackend.h"

#include <QtGlobal>

#include <functional>
#include <span>

namespace harmonet {

// One control as a place that keeps it offers it (an element of the sound
// card's mixer, or a value of the built-in synthesizer's output stage), in
// raw values from minimum() to maximum().
class ControlSource {
public:
    virtual ~ControlSource() = default;

    // The values it keeps: 1 (one for every channel) or 2 (left, right).
    virtual int channels() const = 0;
    virtual quint32 minimum() const = 0;
    virtual quint32 maximum() const = 0;
    virtual quint32 value(int channel) const = 0;
    // values holds channels() values; returns a MixerResult code.
    virtual quint32 write(std::span<const quint32> values) = 0;
};

// The controls one place offers, with a notice of changes made elsewhere.
class ControlSourceSet {
public:
    virtual ~ControlSourceSet() = default;

    // The control of that kind on that line, or nullptr where there is none.
    virtual ControlSource* control(MixerLineType line, MixerControlKind kind) = 0;

    // Called on the GUI thread for a control whose value differs from the one
    // last read or written here.
    void setChangeHandler(std::function<void(ControlSource*)> handler) { m_changed = std::move(handler); }

protected:
    void reportChange(ControlSource* source)
    {
        if (m_changed) {
            m_changed(source);
        }
    }

private:
    std::function<void(ControlSource*)> m_changed;
};

} // namespace harmonet
