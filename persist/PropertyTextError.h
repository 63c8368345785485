#pragma once

#include "core/Exception.h"

namespace harmonet {

// A text that does not convert to a property's value, or a value the property
// refuses.
class EPropertyTextError : public Exception {
public:
    using Exception::Exception;
};

} // namespace harmonet
