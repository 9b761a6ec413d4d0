#pragma once
#include <cstdint>

#include "vcore/str.h"

namespace vwin {

// One automation member as the type information describes it; the text is its name.
class iDispatchFunc : public vcore::str {
public:
    iDispatchFunc(const char16_t* name, int32_t id, int32_t invokeKind, int32_t params)
        : vcore::str(name), id(id), invokeKind(invokeKind), params(params) {}

    int32_t id;          // DISPID
    int32_t invokeKind;  // INVOKEKIND: method, property get, property put
    int32_t params;      // parameter count
};

} // namespace vwin
