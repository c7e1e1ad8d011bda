#include "component/media/CaptureClock.h"

namespace component {

int64_t ClockNowUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

std::chrono::steady_clock::time_point ClockTimePoint(int64_t us) {
    return std::chrono::steady_clock::time_point(std::chrono::microseconds(us));
}

int64_t GridIndexAtOrAfter(int64_t us, int64_t rate) {
    int64_t index = us * rate / 1000000;
    while (GridTimeUs(index, rate) < us) ++index;
    return index;
}

}  // namespace component
