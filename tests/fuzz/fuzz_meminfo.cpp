// /proc/meminfo text to the memory status, whole and cut short at every line and at one
// byte chosen by the input, as a read of a changing file may be.

#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz_check.h"
#include "platform/meminfo_parser.h"

using kelvane::MemoryStatus;
using kelvane::ParseMeminfo;

namespace {

bool Same(const std::optional<MemoryStatus>& a, const MemoryStatus& b) {
    return a->totalPhys == b.totalPhys && a->availPhys == b.availPhys;
}

// A text cut short reads as nothing or as exactly what the whole text reads as: never as a
// figure the whole text does not give.
void CheckCut(std::string_view text, std::size_t length, const std::optional<MemoryStatus>& whole) {
    const auto cut = ParseMeminfo(text.substr(0, length));
    FUZZ_CHECK(!cut || (whole && Same(whole, *cut)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto status = ParseMeminfo(text);
    if (status) {
        // Whole kilobytes, never negative.
        FUZZ_CHECK(status->totalPhys >= 0 && status->totalPhys % 1024 == 0);
        FUZZ_CHECK(status->availPhys >= 0 && status->availPhys % 1024 == 0);
    }
    for (std::size_t end = text.find('\n'); end != std::string_view::npos;
         end = text.find('\n', end + 1)) {
        CheckCut(text, end, status);
        CheckCut(text, end + 1, status);
    }
    if (size > 0) {
        CheckCut(text, data[0] % size, status);
    }
    return 0;
}
