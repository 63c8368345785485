#include "mixer/cmpMidiMixer.h"

namespace harmonet {

TMidiMixer::TMidiMixer(QObject* owner)
    : QObject(owner)
{
}

} // namespace harmonet
