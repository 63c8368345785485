#pragma once

#include <QString>

namespace harmonet {

// Name of General MIDI program n (0..127); "Acoustic Grand Piano" for any other n.
QString GMProgramName(int n);

// Lowest program number whose name equals name, ignoring the case of A..Z;
// 0 when no name matches.
int GMProgramNumber(const QString& name);

} // namespace harmonet
