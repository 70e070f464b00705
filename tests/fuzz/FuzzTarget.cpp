// libFuzzer entry point; TW_FUZZ_ENTRY names the function of FuzzEntries.h it drives.
#include <cstddef>
#include <cstdint>

#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tw::fuzz::TW_FUZZ_ENTRY(data, size);
    return 0;
}
