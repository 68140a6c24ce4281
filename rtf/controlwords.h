// The control words the parser acts on, and what each does.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vostrel::rtf::detail {

enum class Op : std::uint8_t {
    Destination, // the rest of the group holds no main-story text
    FontTable,
    Char, // a text character
    Unicode,
    UnicodeSkip,
    Font,
    Charset,
    FontCodePage,
    AnsiCodePage,
    CharacterSet, // \ansi \mac \pc \pca: the document's code page
    DefaultFont,
    Plain,
};

struct WordInfo {
    Op op;
    char32_t ch = 0;  // Op::Char: the character
    int codePage = 0; // Op::CharacterSet: the code page it stands for
};

// The control words that matter, in an open-addressing table: looking one up
// is a short hash and a compare or two, for every control word of a document.
class WordTable {
public:
    void emplace(std::string_view name, WordInfo info) {
        std::size_t k = Hash(name);
        while (!slots_[k].name.empty())
            k = (k + 1) % kSlots;
        slots_[k] = {name, info};
    }

    // The control word `name` (without backslash or parameter), or nullptr
    // for one that carries no text and changes nothing the parser keeps.
    const WordInfo* find(std::string_view name) const {
        for (std::size_t k = Hash(name);; k = (k + 1) % kSlots) {
            if (slots_[k].name == name)
                return &slots_[k].info;
            if (slots_[k].name.empty())
                return nullptr;
        }
    }

private:
    static constexpr std::size_t kSlots = 512; // over three times the words: short probes

    static std::size_t Hash(std::string_view name) {
        std::uint32_t h = 2166136261u; // FNV-1a
        for (const char c : name)
            h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return h % kSlots;
    }

    struct Slot {
        std::string_view name; // empty: free (the names are string literals)
        WordInfo info{Op::Plain};
    };
    std::array<Slot, kSlots> slots_{};
};

// The table of every control word the parser acts on.
const WordTable& ControlWords();

} // namespace vostrel::rtf::detail
