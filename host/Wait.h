// The platform half of the wait: sleep for a number of milliseconds, serving
// the platform meanwhile.
#pragma once

namespace lumora::detail {

void PlatformWaitMs(int ms);

}  // namespace lumora::detail
