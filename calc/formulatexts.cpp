#include "formulatexts.h"

#include "numtext.h"
#include "strike.h"

#include <array>
#include <cmath>
#include <initializer_list>

namespace vostrel {

namespace {
// The pieces one after another.
std::string Cat(std::initializer_list<std::string_view> pieces) {
    std::string out;
    for (std::string_view piece : pieces)
        out += piece;
    return out;
}

// Lines joined by "\n", empty ones left out.
std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string out;
    for (std::string_view line : lines) {
        if (line.empty())
            continue;
        if (!out.empty())
            out += '\n';
        out += line;
    }
    return out;
}

// How numbers are written: a typed input as short as it reads ("25",
// "9,5"), a result to one decimal.
struct Writer {
    std::string_view sep;

    std::string input(double v) const {
        std::string text = FixedText(v, 6, sep);
        if (text.find(sep) != std::string::npos && text.find('E') == std::string::npos) {
            while (text.back() == '0')
                text.pop_back();
            if (text.ends_with(sep))
                text.resize(text.size() - sep.size());
        }
        return text;
    }
    std::string result(double v) const { return FixedText(v, 1, sep); }
    // A constant of the formulas, written with "," in the source.
    std::string constant(std::string_view text) const {
        std::string out;
        for (char c : text)
            c == ',' ? out += sep : out += c;
        return out;
    }
    // "symbol = expression = result м"
    std::string line(std::string_view symbol, std::string_view expression, double value) const {
        return Cat({symbol, " = ", expression, " = ", result(value), " м"});
    }
};

// The factor of r0 = factor · h and rx = factor · (h − hx/top).
std::string Factor(const Writer& w, bool zoneA, bool catenary, const std::string& h) {
    if (zoneA)
        return Cat({w.constant(catenary ? "(1,35 − 0,0025 · " : "(1,1 − 0,002 · "), h, ")"});
    return w.constant(catenary ? "1,7" : "1,5");
}

// The lines of a single rod's or catenary's h0, r0 and rx for the height h
// and hx, the symbols with the index `index` ("", "1" or "2").
void AddSingle(FormulaNumbers& out, const Writer& w, bool zoneA, bool catenary, double h, double hx,
               double h0, double r0, double rx, std::string_view index) {
    const std::string hs = w.input(h);
    const std::string factor = Factor(w, zoneA, catenary, hs);
    const std::string top = w.constant(zoneA ? "0,85" : "0,92");
    const auto join = [](std::string& to, const std::string& line) {
        to += to.empty() ? line : "\n" + line;
    };
    const std::string i(index);
    join(out.h0, w.line("h0" + i, Cat({top, " · ", hs}), h0));
    join(out.r0, w.line("r0" + i, Cat({factor, " · ", hs}), r0));
    join(out.rx, w.line(index.empty() ? "rx" : "rx" + i,
                        Cat({factor, " · (", hs, " − ", w.input(hx), "/", top, ")"}), rx));
}

// The drop of hc below h0 over (L − h): "0,14" or "(0,17 + 3·10⁻⁴ · 30)".
std::string Drop(bool zoneA, bool cables, const Writer& w, double h) {
    if (zoneA)
        return Cat(
            {w.constant(cables ? "(0,14 + 5·10⁻⁴ · " : "(0,17 + 3·10⁻⁴ · "), w.input(h), ")"});
    return w.constant(cables ? "0,12" : "0,14");
}

// hc (symbol `hc`) of two rods (cables) of height h at L by the case that
// applied, h0 the zone top it starts from (symbol `h0`).
std::string LoweredLine(const Writer& w, PairCase pair, bool zoneA, bool cables, double h, double L,
                        double h0, double hc, std::string_view hcSymbol,
                        std::string_view h0Symbol) {
    if (pair == PairCase::Single)
        return {};
    if (pair == PairCase::Close)
        return w.line(hcSymbol, h0Symbol, hc);
    return w.line(hcSymbol,
                  Cat({w.result(h0), " − ", Drop(zoneA, cables, w, h), " · (", w.input(L), " − ",
                       w.input(h), ")"}),
                  hc);
}

// rcx = rc(hc − hx)/hc with the numbers.
std::string MidwayLine(const Writer& w, double rc, double hc, double hx, double rcx) {
    return w.line("rcx",
                  Cat({w.result(rc), " · (", w.result(hc), " − ", w.input(hx), ")/", w.result(hc)}),
                  rcx);
}

// The inner region of two rods or cables of equal height h.
std::string PairInner(const Writer& w, bool zoneA, bool cables, double h, double L, double hx,
                      double h0, double r0, double rx, double hc, double rc, double rcx,
                      PairCase pair) {
    const std::string hcLine = LoweredLine(w, pair, zoneA, cables, h, L, h0, hc, "hc", "h0");
    switch (pair) {
    case PairCase::Single:
        return {};
    case PairCase::Close:
        return Lines({hcLine, w.line("rc", "r0", rc), w.line("rcx", "rx", rx)});
    case PairCase::Medium:
        return Lines({hcLine, w.line("rc", "r0", r0), MidwayLine(w, rc, hc, hx, rcx)});
    case PairCase::Wide:
        return Lines({hcLine,
                      w.line("rc",
                             Cat({w.result(r0), " · [1 − ", w.constant("0,2"), " · (", w.input(L),
                                  " − 2 · ", w.input(h), ")/", w.input(h), "]"}),
                             rc),
                      MidwayLine(w, rc, hc, hx, rcx)});
    }
    return {};
}

// r′x of two cables: L/2 while the strip between them is whole at hx.
std::string PrimeLine(const Writer& w, const DoubleCatenaryResult& r, double L, double hx) {
    if (r.pairCase == PairCase::Single)
        return {};
    if (hx >= r.h0)
        return "r′x = 0 м (hx ≥ h0)";
    if (hx <= r.hc || r.hc >= r.h0)
        return w.line("r′x", Cat({"L/2 = ", w.input(L), "/2"}), r.rpx);
    return w.line("r′x",
                  Cat({"(", w.input(L), "/2) · (", w.result(r.h0), " − ", w.input(hx), ")/(",
                       w.result(r.h0), " − ", w.result(r.hc), ")"}),
                  r.rpx);
}

std::string UnequalInner(const Writer& w, const UnequalRodResult& r, double h1, double h2, double L,
                         double hx) {
    if (r.pairCase == PairCase::Single)
        return {};
    const bool a = r.zone == ZoneKind::A;
    return Lines({LoweredLine(w, r.hc1Case, a, false, h1, L, r.h01, r.hc1, "hc1", "h01"),
                  LoweredLine(w, r.hc2Case, a, false, h2, L, r.h02, r.hc2, "hc2", "h02"),
                  w.line("hc", Cat({"(", w.result(r.hc1), " + ", w.result(r.hc2), ")/2"}), r.hc),
                  w.line("rc", Cat({"(", w.result(r.r01), " + ", w.result(r.r02), ")/2"}), r.rc),
                  MidwayLine(w, r.rc, r.hc, hx, r.rcx)});
}

// The cable's height below its supports: "h = hоп − 2 = 20 − 2 = 18,0 м".
std::string CableLine(const Writer& w, double hop, double h) {
    const std::string sag = w.input(std::round(hop - h));
    return w.line("h", Cat({"hоп − ", sag, " = ", w.input(hop), " − ", sag}), h);
}

struct Numbers {
    const Writer& w;
    RodInputs in;

    FormulaNumbers operator()(const SingleRodResult& r) const {
        FormulaNumbers out;
        AddSingle(out, w, r.zone == ZoneKind::A, false, in.h, in.hx, r.h0, r.r0, r.rx, "");
        return out;
    }
    FormulaNumbers operator()(const CatenaryResult& r) const {
        FormulaNumbers out;
        out.cable = CableLine(w, in.hSupport, r.h);
        AddSingle(out, w, r.zone == ZoneKind::A, true, r.h, in.hx, r.h0, r.r0, r.rx, "");
        return out;
    }
    FormulaNumbers operator()(const DoubleRodResult& r) const {
        FormulaNumbers out;
        const bool a = r.zone == ZoneKind::A;
        AddSingle(out, w, a, false, in.h, in.hx, r.h0, r.r0, r.rx, "");
        out.inner = PairInner(w, a, false, in.h, in.L, in.hx, r.h0, r.r0, r.rx, r.hc, r.rc, r.rcx,
                              r.pairCase);
        return out;
    }
    FormulaNumbers operator()(const UnequalRodResult& r) const {
        FormulaNumbers out;
        const bool a = r.zone == ZoneKind::A;
        AddSingle(out, w, a, false, in.h, in.hx, r.h01, r.r01, r.rx1, "1");
        AddSingle(out, w, a, false, in.h2, in.hx, r.h02, r.r02, r.rx2, "2");
        out.inner = UnequalInner(w, r, in.h, in.h2, in.L, in.hx);
        return out;
    }
    FormulaNumbers operator()(const DoubleCatenaryResult& r) const {
        FormulaNumbers out;
        out.cable = CableLine(w, in.hSupport, r.h);
        const bool a = r.zone == ZoneKind::A;
        AddSingle(out, w, a, true, r.h, in.hx, r.h0, r.r0, r.rx, "");
        out.inner = Lines({PairInner(w, a, true, r.h, in.L, in.hx, r.h0, r.r0, r.rx, r.hc, r.rc,
                                     r.rcx, r.pairCase),
                           PrimeLine(w, r, in.L, in.hx)});
        return out;
    }
};

// UTF-8: the code point starting at `at`, and its length.
char32_t CodePoint(std::string_view s, std::size_t at, std::size_t* length) {
    const auto b = static_cast<unsigned char>(s[at]);
    const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    *length = std::min(n, s.size() - at);
    char32_t c = n == 1 ? b : b & (0x3F >> (n - 1));
    for (std::size_t k = 1; k < *length; ++k)
        c = (c << 6) | (static_cast<unsigned char>(s[at + k]) & 0x3F);
    return c;
}

bool IsLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= 0x400 && c <= 0x4FF);
}
bool IsWordPart(char32_t c) {
    return IsLetter(c) || (c >= '0' && c <= '9');
}

// The index that follows a symbol's letter at `at`, if one does and ends
// the symbol; longest first.
std::string_view IndexAt(std::string_view s, std::size_t at) {
    static constexpr std::array<std::string_view, 17> kIndices{"min", "оп", "cx", "c1", "c2", "ci",
                                                               "01",  "02", "0i", "x1", "x2", "0",
                                                               "c",   "x",  "1",  "2",  "i"};
    for (std::string_view index : kIndices) {
        if (s.substr(at).starts_with(index)) {
            std::size_t n = 0;
            const std::size_t end = at + index.size();
            if (end == s.size() || !IsWordPart(CodePoint(s, end, &n)))
                return index;
        }
    }
    return {};
}
} // namespace

std::string MarkSymbols(std::string_view s) {
    static constexpr std::string_view kLetters = "hrLaSNn";
    static constexpr std::string_view kPrime = "′";
    std::string out;
    bool afterLetter = false;
    for (std::size_t at = 0; at < s.size();) {
        std::size_t n = 0;
        const char32_t c = CodePoint(s, at, &n);
        if (!afterLetter && n == 1 && kLetters.find(static_cast<char>(c)) != kLetters.npos) {
            std::size_t end = at + 1;
            if (s.substr(end).starts_with(kPrime))
                end += kPrime.size();
            const std::string_view index = IndexAt(s, end);
            std::size_t next = 0;
            const bool alone =
                end == s.size() || !IsWordPart(CodePoint(s, end, &next)) || !index.empty();
            if (alone) {
                out += kItalicMark;
                out += s.substr(at, end - at);
                if (!index.empty())
                    out += Cat({std::string_view(&kSubscriptMark, 1), index,
                                std::string_view(&kEndMark, 1)});
                out += kEndMark;
                at = end + index.size();
                afterLetter = true;
                continue;
            }
        }
        out += s.substr(at, n);
        afterLetter = IsLetter(c);
        at += n;
    }
    return out;
}

std::string Unmarked(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != kItalicMark && c != kSubscriptMark && c != kEndMark)
            out += c;
    return out;
}

FormulaNumbers FormulaNumbersOf(std::int32_t code, const ZoneInputs& inputs, const RodZone& zone,
                                std::string_view separator) {
    const Writer w{separator};
    FormulaNumbers numbers = std::visit(Numbers{w, InputsOf(code, inputs)}, zone);
    if (ZoneKindOf(zone) == ZoneKind::None)
        return {numbers.cable, {}, {}, {}, {}};
    return numbers;
}

std::string StrikeNumbers(double S, double L, double h, double n, std::string_view separator) {
    const Writer w{separator};
    const std::string hs = w.input(h);
    return Cat({"N = [(", w.input(S), " + 6 · ", hs, ")(", w.input(L), " + 6 · ", hs, ") − ",
                w.constant("7,7"), " · ", hs, "²] · ", w.input(n),
                " · 10⁻⁶ = ", StrikeCountText(StrikeCount(S, L, h, n), separator)});
}

} // namespace vostrel
