// The design's file (.vostrel): UTF-8 JSON of the texts and choices a user
// made, from which the program computes every number again. Texts are stored
// with "." as the decimal mark and handed back with the user's separator.
#pragma once

#include "design/design.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vostrel {

inline constexpr char kDesignFormat[] = "vostrel-design";
inline constexpr int kDesignVersion = 1;
inline constexpr std::size_t kMaxDesignFileSize = 1024 * 1024;
// The largest |x| and |y| (m) and |angle| (°) of a placement a file may hold,
// as the drawing window takes them.
inline constexpr double kMaxPlacement = 10000;

// What a file keeps of a design.
struct DesignFile {
    std::array<std::string, 3> building; // S, L, h as typed; empty when not typed
    std::optional<int> thunderstormHours;
    std::optional<std::int32_t> buildingType; // catalogue code
    std::optional<std::int32_t> rodType;
    std::vector<std::string> rodInputs; // the rod page's inputs in row order
    // A system's rods (rod type 6): x and y are numbers in the file, h a text.
    std::vector<RodText> rods;
    bool calculated = false;
    std::optional<Placement> placement; // none: centred over the building

    bool operator==(const DesignFile&) const = default;
};

// What a file keeps of `design`.
DesignFile FileContentOf(const Design& design);

// The file's text; `separator` is the decimal separator of the texts.
std::string WriteDesignFile(const DesignFile& file, std::string_view separator);

// A file read: the content, or the reason (Russian) it was refused.
struct DesignReading {
    std::optional<DesignFile> file;
    std::string error;
};

// Reads a file's bytes; the texts come back with `separator`. Never throws.
DesignReading ReadDesignFile(std::string_view bytes, std::string_view separator);
// Reads the file at `path` (a native path), refusing one larger than
// kMaxDesignFileSize before reading it. Never throws.
DesignReading ReadDesignPath(const std::string& path, std::string_view separator);

} // namespace vostrel
