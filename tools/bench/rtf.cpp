// Times the RTF engine on a generated report-sized document (10 MB unless
// told, e.g. 60) and on a small template: parsing, 25 tag replacements each
// searched from the start, and writing the source out. For the large document
// it also reports the peak resident memory of the process (getrusage
// ru_maxrss, reset before each document through /proc/self/clear_refs) while
// parsing and while replacing, over the size of the source.
//
//   bench_rtf [megabytes] [template.rtf]
//
// With a template file, also times filling it: parsing, and replacing every
// tag ("#" "#"/"2" two characters "&") searched from the start each time, as
// the report does.
#include "rtf/rtf.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <utility>
#include <vector>

using namespace vostrel::rtf;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Peak resident memory of the process so far, in bytes.
double PeakBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024;
}

// Starts the peak over from what is resident now, once the allocator has
// given back what earlier runs freed; false where Linux does not allow it,
// and the peak then covers everything before too.
bool ResetPeak() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    std::ofstream file("/proc/self/clear_refs");
    file << "5";
    file.flush();
    return static_cast<bool>(file);
}

const char* const kTags[] = {"##ll&", "#2rx&", "#1h0&", "#3r0&", "##nn&"};

std::string Header() {
    return "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\froman\\fcharset204 "
           "Times New Roman;}{\\f1\\fswiss\\fcharset204 Arial;}{\\f2\\fmodern\\fcharset0 Courier "
           "New;}}\r\n{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
           "{\\stylesheet{\\ql \\f0\\fs24 \\snext0 Normal;}{\\s1\\b\\fs28 heading 1;}}\r\n"
           "{\\*\\generator Vostrel bench;}{\\info{\\title \\'ce\\'f2\\'f7\\'e5\\'f2}}\r\n"
           "\\paperw11906\\paperh16838\\margl1701\\margr850\\margt1134\\margb1134\r\n";
}

// A paragraph of Cyrillic words as \'hh and \uN, formatting groups and
// revision runs, like a word processor writes it.
void AppendParagraph(std::string& out, std::mt19937& rng, int index) {
    static const char* const hexWords[] = {
        "\\'c2\\'fb\\'f1\\'ee\\'f2\\'e0", "\\'e7\\'ee\\'ed\\'e0", "\\'ec\\'ee\\'eb\\'ed\\'e8\\'e8",
        "\\'f0\\'e0\\'e4\\'e8\\'f3\\'f1", "\\'ea\\'e0\\'f2\\'e5\\'e3\\'ee\\'f0\\'e8\\'ff"};
    static const char* const uWords[] = {"\\u1079\\'e7\\u1076\\'e4\\u1072\\'e0\\u1085\\'ed",
                                         "\\u1084\\'ec 15,3", "\\u1075\\'e3\\u1086\\'ee"};
    out += "\\pard\\plain \\s0\\ql\\f0\\fs24\\insrsid";
    out += std::to_string(1000 + index % 97);
    out += ' ';
    const int words = 12 + static_cast<int>(rng() % 20);
    for (int w = 0; w < words; ++w) {
        switch (rng() % 6) {
        case 0:
            out += "{\\b ";
            out += hexWords[rng() % 5];
            out += "}";
            break;
        case 1:
            out += "{\\i\\insrsid";
            out += std::to_string(rng() % 100000);
            out += ' ';
            out += uWords[rng() % 3];
            out += "}";
            break;
        case 2:
            out += "12,5";
            break;
        default:
            out += hexWords[rng() % 5];
        }
        out += ' ';
    }
    out += "\\par\r\n";
    if (index % 50 == 49) // a table row
        out += "\\trowd\\cellx3000\\cellx6000\\pard\\intbl \\'e0\\cell 1\\cell\\row\r\n";
    if (index % 400 == 399) { // a small picture
        out += "{\\pict\\pngblip\\picw10\\pich10 ";
        for (int k = 0; k < 64; ++k)
            out += "89504e470d0a1a0a2323";
        out += "}\r\n";
    }
}

// Tags as a template has them, some split by revision runs or formatting.
void AppendTags(std::string& out, int count) {
    for (int t = 0; t < count; ++t) {
        const std::string tag = kTags[t % 5];
        out += "\\pard \\'c2\\'fb\\'f1\\'ee\\'f2\\'e0: ";
        switch (t % 3) {
        case 0:
            out += tag;
            break;
        case 1:
            out += "{\\insrsid1 " + tag.substr(0, 2) + "}{\\insrsid2 " + tag.substr(2) + "}";
            break;
        default:
            out += tag.substr(0, 3) + "{\\b " + tag.substr(3, 1) + "}" + tag.substr(4);
        }
        out += " \\'ec\\par\r\n";
    }
}

std::string Generate(std::size_t bytes, bool tagsFirst) {
    std::mt19937 rng(42);
    std::string out;
    out.reserve(bytes + 64 * 1024); // growing would leave a freed copy behind
    out = Header();
    if (tagsFirst)
        AppendTags(out, 25);
    for (int i = 0; out.size() < bytes; ++i)
        AppendParagraph(out, rng, i);
    if (!tagsFirst)
        AppendTags(out, 25);
    out += "}";
    return out;
}

struct Timing {
    double parse = 0, replace = 0, write = 0;
    double peakParse = 0, peakReplace = 0; // bytes
    std::size_t textSize = 0;
};

Timing Run(std::string source, bool writeFile) {
    Timing t;
    auto start = Clock::now();
    Document doc(std::move(source));
    t.parse = MsSince(start);
    t.peakParse = PeakBytes();
    t.textSize = doc.textSize();

    start = Clock::now();
    int replaced = 0;
    for (int i = 0; i < 25; ++i) {
        const std::u32string tag(kTags[i % 5], kTags[i % 5] + 5);
        const std::size_t at = doc.find(tag, 0);
        if (at == Document::npos)
            break;
        doc.replace(at, tag.size(), U"123,456");
        ++replaced;
    }
    t.replace = MsSince(start);
    t.peakReplace = PeakBytes();
    if (replaced != 25) {
        std::fprintf(stderr, "only %d of 25 tags found\n", replaced);
        std::exit(1);
    }

    start = Clock::now();
    if (writeFile) {
        const auto path = std::filesystem::temp_directory_path() / "bench_rtf_out.rtf";
        {
            std::ofstream file(path, std::ios::binary);
            file.write(doc.source().data(), static_cast<std::streamsize>(doc.source().size()));
        }
        t.write = MsSince(start);
        std::filesystem::remove(path);
    } else {
        std::string copy = doc.source();
        t.write = MsSince(start);
    }
    return t;
}

// The tags of a text, in order.
std::vector<std::u32string> FindTags(const std::u32string& text) {
    std::vector<std::u32string> tags;
    for (std::size_t i = 0; i + 5 <= text.size(); ++i)
        if (text[i] == U'#' && (text[i + 1] == U'#' || text[i + 1] == U'2') &&
            text[i + 4] == U'&') {
            tags.push_back(text.substr(i, 5));
            i += 4;
        }
    return tags;
}

void TimeTemplate(const char* path) {
    std::ifstream file(path, std::ios::binary);
    const std::string source((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
    const std::vector<std::u32string> tags = FindTags(Document(source).text());
    const int rounds = 1000;
    double parse = 0, fill = 0;
    for (int r = 0; r < rounds; ++r) {
        auto start = Clock::now();
        Document doc(source);
        parse += MsSince(start);
        start = Clock::now();
        for (const std::u32string& tag : tags)
            doc.replace(doc.find(tag, 0), tag.size(), U"  12,5");
        fill += MsSince(start);
    }
    std::printf("%s (%.1f KB, %zu tags), mean of %d runs:\n  parse %8.1f us\n  fill %8.1f us\n",
                path, static_cast<double>(source.size()) / 1024, tags.size(), rounds,
                1000 * parse / rounds, 1000 * fill / rounds);
}

} // namespace

int main(int argc, char** argv) {
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 10.0;
    if (!(megabytes > 0 && megabytes < 4000)) {
        std::fprintf(stderr, "usage: bench_rtf [megabytes, below 4000] [template.rtf]\n");
        return 2;
    }
    const auto bytes = static_cast<std::size_t>(megabytes * 1024 * 1024);

    for (const bool tagsFirst : {false, true}) {
        std::string source = Generate(bytes, tagsFirst);
        const double size = static_cast<double>(source.size());
        const bool reset = ResetPeak();
        const Timing t = Run(std::move(source), true);
        std::printf("%.1f MB document, %zu text characters, tags at the %s:\n",
                    size / (1024 * 1024), t.textSize, tagsFirst ? "start" : "end");
        std::printf("  parse %8.1f ms\n  25 find+replace %8.1f ms\n  write file %8.1f ms\n",
                    t.parse, t.replace, t.write);
        std::printf("  peak memory%s: parsing %.1f MB = %.2f bytes per source byte, "
                    "replacing %.1f MB = %.2f\n",
                    reset ? "" : " (since start-up)", t.peakParse / (1024 * 1024),
                    t.peakParse / size, t.peakReplace / (1024 * 1024), t.peakReplace / size);
    }

    const std::string small = Generate(8 * 1024, false);
    const int rounds = 1000;
    Timing sum;
    for (int i = 0; i < rounds; ++i) {
        const Timing t = Run(small, false);
        sum.parse += t.parse;
        sum.replace += t.replace;
        sum.write += t.write;
    }
    std::printf("%.1f KB template, mean of %d runs:\n  parse %8.1f us\n  25 find+replace %8.1f "
                "us\n  copy source %8.2f us\n",
                static_cast<double>(small.size()) / 1024, rounds, 1000 * sum.parse / rounds,
                1000 * sum.replace / rounds, 1000 * sum.write / rounds);
    if (argc > 2)
        TimeTemplate(argv[2]);
}
