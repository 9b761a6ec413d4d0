#pragma once
#include <cstdint>

// Message numbers and identifiers of Winamp's component model that the component uses.
namespace wa5 {

struct guid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

// The callback-registration service: {57B7A1B6-700E-44FF-9CB0-70B92BAF3959}.
constexpr guid callbackServiceGuid{0x57B7A1B6, 0x700E, 0x44FF, {0x9C, 0xB0, 0x70, 0xB9, 0x2B, 0xAF, 0x39, 0x59}};

namespace component {
constexpr int registerServices = 10;    // params[0]: -> service manager
constexpr int deregisterServices = 20;  // params[0]: -> service manager
} // namespace component

namespace serviceManager {
constexpr int getFactory = 50;  // params[0]: -> guid; result: factory
} // namespace serviceManager

namespace factory {
constexpr int getInterface = 300;  // params[0]: -> int 1; result: interface
} // namespace factory

namespace callbackService {
constexpr int deregisterCallback = 10;  // params[0]: -> callback face
constexpr int registerCallback = 20;    // params[0]: -> callback face, params[1]: -> 0
} // namespace callbackService

namespace sysCallback {
constexpr int getEventType = 101;  // result: eventType
constexpr int notify = 200;        // params: -> event, -> value 1, -> value 2
constexpr uint32_t eventType = 0x00737663;  // 's' 'v' 'c'
constexpr int startEvent = 10;
} // namespace sysCallback

namespace coreCallback {
constexpr int query = 100;  // result 0
} // namespace coreCallback

} // namespace wa5
