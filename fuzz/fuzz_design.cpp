// libFuzzer target for the design file's reader (design/designfile.h).
//
// Input: the bytes of a .vostrel file. Checked: the reader gives a design or
// a reason, never both nor neither, without crash or hang, under the decimal
// separators "." and ","; a design it accepts is written and read back the
// same under both, and gives the same choices under both.
#include "design/designfile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace vostrel;

namespace {
[[noreturn]] void Fail(const char* what, std::string_view input) {
    std::fprintf(stderr, "design file invariant broken: %s\ninput (%zu bytes):\n%.*s\n", what,
                 input.size(), static_cast<int>(std::min<std::size_t>(input.size(), 4096)),
                 input.data());
    std::abort();
}

void CheckRoundTrip(const DesignFile& file, std::string_view separator, std::string_view input) {
    const std::string written = WriteDesignFile(file, separator);
    const DesignReading again = ReadDesignFile(written, separator);
    if (!again.file)
        Fail("a written file is refused", input);
    if (!(*again.file == file))
        Fail("a written file reads back different", input);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const DesignReading dot = ReadDesignFile(input, ".");
    const DesignReading comma = ReadDesignFile(input, ",");
    for (const DesignReading* reading : {&dot, &comma})
        if (reading->file.has_value() == !reading->error.empty())
            Fail("a reading gives both or neither of a design and a reason", input);
    if (dot.file.has_value() != comma.file.has_value())
        Fail("the separator decides whether a file is refused", input);
    if (!dot.file)
        return 0;
    if (dot.file->thunderstormHours != comma.file->thunderstormHours ||
        dot.file->buildingType != comma.file->buildingType ||
        dot.file->rodType != comma.file->rodType ||
        dot.file->calculated != comma.file->calculated ||
        dot.file->rodInputs.size() != comma.file->rodInputs.size())
        Fail("the separator changes the design's choices", input);
    CheckRoundTrip(*dot.file, ".", input);
    CheckRoundTrip(*comma.file, ",", input);
    return 0;
}
