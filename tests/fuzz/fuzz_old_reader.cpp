// libFuzzer target: the engine's reader of the older "CROSSWORD" text format, fed any bytes
// through a temporary file.
#include "trv600.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

int silentBox(const char *, const char *, int buttons)
{
    return buttons == TRV_MB_OK ? TRV_IDOK : TRV_IDIGNORE;
}

std::string tempName() { return "/tmp/trv_fuzz_old_" + std::to_string(getpid()) + ".owt"; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::string name = [] {
        TRVSetMessageBoxHandler(&silentBox);
        TRVCreateRenumGrid(15, 15);
        return tempName();
    }();
    std::FILE *f = std::fopen(name.c_str(), "wb");
    if (!f)
        return 0;
    if (size > 0)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
    TRVReadPuzzle(name.c_str());
    return 0;
}
