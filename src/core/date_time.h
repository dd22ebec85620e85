#pragma once

namespace tessaly {

// A local wall-clock moment, as the platform's clock gives it.
struct LocalDateTime {
    int year = 2000;
    int month = 1;  // 1..12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

}  // namespace tessaly
