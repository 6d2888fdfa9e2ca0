// kException: the engine's one exception family; thrown objects hold no resources and
// are caught by their own type or as kException.
#pragma once

namespace Kelvo_lib {

class kException {
public:
    virtual ~kException() = default;
    virtual const char* GetErrorString() = 0;
};

} // namespace Kelvo_lib
