#include "meter/PortErrors.h"

#include <gtest/gtest.h>

namespace
{

// Windows error codes by number: this tier has no Windows headers.
TEST(PortErrors, ErrorsOfAPortWhoseDeviceHasGoneAndTransientOnes)
{
    const struct
    {
        unsigned long error;
        bool dead;
    } cases[] = {
        {5, true},    // ERROR_ACCESS_DENIED: a USB adapter pulled out
        {22, true},   // ERROR_BAD_COMMAND
        {31, true},   // ERROR_GEN_FAILURE
        {1167, true}, // ERROR_DEVICE_NOT_CONNECTED
        {21, true},   // ERROR_NOT_READY: Wine's terminal hung up
        {0, false},   // no error
        {995, false}, // ERROR_OPERATION_ABORTED: every wait on Wine's terminal ends so
        {997, false}, // ERROR_IO_PENDING
        {996, false}, // ERROR_IO_INCOMPLETE
        {87, false},  // ERROR_INVALID_PARAMETER
        {121, false}, // ERROR_SEM_TIMEOUT
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPortDeadError(c.error), c.dead) << c.error;
}

} // namespace
