#include "meter/PortErrors.h"

#include <gtest/gtest.h>

namespace
{

// The errors that mean a device has gone are each met by the Windows tier's played drivers; these
// are transient. Windows error codes by number: this tier has no Windows headers.
TEST(PortErrors, TransientErrorsDoNotMeanTheDeviceHasGone)
{
    // None, ERROR_OPERATION_ABORTED (every wait on Wine's terminal ends so), ERROR_IO_PENDING,
    // ERROR_IO_INCOMPLETE, ERROR_INVALID_PARAMETER, ERROR_SEM_TIMEOUT.
    for (unsigned long error : {0ul, 995ul, 997ul, 996ul, 87ul, 121ul})
        EXPECT_FALSE(IsPortDeadError(error)) << error;
}

} // namespace
