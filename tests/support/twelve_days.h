// The hand-worked series of the overview tests: twelve business days, 02.01. to
// 17.01.2024, with their prices and volumes.
#pragma once

namespace qtest {

inline constexpr double kTwelvePrices[] = {10, 11, 12, 11, 13, 14, 13, 15, 16, 15, 17, 18};
inline constexpr long long kTwelveVolumes[] = {1000, 1200, 800, 1000, 1500, 1500, 900, 1100, 1300, 1000, 1400, 1600};
inline constexpr const char* kTwelveDays[] = {"02.01.2024", "03.01.2024", "04.01.2024", "05.01.2024",
                                              "08.01.2024", "09.01.2024", "10.01.2024", "11.01.2024",
                                              "12.01.2024", "15.01.2024", "16.01.2024", "17.01.2024"};

}  // namespace qtest
