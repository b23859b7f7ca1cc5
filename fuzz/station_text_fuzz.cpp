// Station texts are typed by users: the Link and Write dialogs' list, the
// Monitor dialog's range, and the virtual drive's --stations switch. Whatever
// is typed, a station list is ascending, without repeats, inside 1..254.
#include "drive-sim/virtual_drive.h"
#include "fuzz_check.h"
#include "link/station_list.h"
#include "monitor/station_range.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace kolt;

namespace {

void CheckStations(const std::vector<int>& stations, const char* grammar) {
    for (std::size_t i = 0; i < stations.size(); ++i) {
        FUZZ_CHECK(stations[i] >= 1 && stations[i] <= 254, grammar);
        if (i > 0) FUZZ_CHECK(stations[i - 1] < stations[i], grammar);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::vector<int> link = ParseStationList(text);
    CheckStations(link, "link list: ascending stations 1..254");
    const std::vector<int> monitor = ParseStationRange(text);
    CheckStations(monitor, "monitor range: ascending stations 1..254");

    // Only digits, ',' and '-' count, so the rest of the text changes nothing.
    std::string kept;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == ',' || c == '-') kept.push_back(c);
    FUZZ_CHECK(ParseStationList(kept) == link, "link list: other characters are dropped");
    FUZZ_CHECK(ParseStationRange(kept) == monitor, "monitor range: other characters are dropped");
    if (kept.empty()) {
        FUZZ_CHECK(link == std::vector<int>{1}, "an empty link text selects station 1");
        FUZZ_CHECK(monitor.size() == 254, "an empty monitor range selects every station");
    }

    std::vector<int> strict;
    if (sim::ParseStationList(std::string(text), strict)) {
        for (std::size_t i = 0; i < strict.size(); ++i)
            FUZZ_CHECK(strict[i] >= 1 && strict[i] <= 254, "virtual drive stations 1..254");
    }
    return 0;
}
