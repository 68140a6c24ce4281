// A report filled by the RTF engine, with a picture in place of a tag, opens
// in LibreOffice: it converts it to PDF, and the PDF holds the one image.
// Exits 77 (skipped) when soffice is not installed; the PDF's images are
// counted when pdfimages (poppler-utils) is, its text when pdftotext is.
//   SOFFICE  the office program (default: soffice from PATH)
#include "png_sample.h"
#include "rtf/rtf.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace vostrel::rtf;

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what.c_str());
    if (!ok)
        ++failures;
}

// The full path of `program` found in PATH, or empty.
std::string InPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const fs::path candidate = fs::path(dir.empty() ? "." : dir) / program;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
    }
    return {};
}

// Output of a shell command, and whether it exited with 0.
std::pair<std::string, bool> Output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {out, false};
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        out.append(buffer.data(), n);
    return {out, pclose(pipe) == 0};
}

std::uint32_t BigEndian(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k)
        v = v << 8 | static_cast<unsigned char>(s[at + k]);
    return v;
}

std::uint32_t Crc32(const std::string& s, std::size_t at, std::size_t length) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t k = at; k < at + length; ++k) {
        crc ^= static_cast<unsigned char>(s[k]);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
    }
    return ~crc;
}

// Whether `png` is a well-formed PNG file of the given size: signature,
// IHDR first, every chunk's CRC right, IEND last.
bool WellFormedPng(const std::string& png, std::uint32_t width, std::uint32_t height) {
    if (!png.starts_with(std::string("\x89PNG\r\n\x1a\n", 8)))
        return false;
    std::size_t at = 8;
    std::string last;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = BigEndian(png, at);
        if (at + 12 + length > png.size())
            return false;
        const std::string type = png.substr(at + 4, 4);
        if (Crc32(png, at + 4, 4 + length) != BigEndian(png, at + 8 + length))
            return false;
        if (at == 8 && (type != "IHDR" || BigEndian(png, at + 8) != width ||
                        BigEndian(png, at + 12) != height))
            return false;
        last = type;
        at += 12 + length;
    }
    return at == png.size() && last == "IEND";
}

const char kTemplate[] =
    "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman;}}\r\n"
    "\\paperw11906\\paperh16838\\margl1701\\margr850\\margt1134\\margb1134\r\n"
    "\\pard\\plain\\f0\\fs24 \\'c7\\'ee\\'ed\\'e0 \\'e7\\'e0\\'f9\\'e8\\'f2\\'fb: {\\b "
    "##pic&}\\par\r\n"
    "\\pard \\'c2\\'fb\\'f1\\'ee\\'f2\\'e0: {\\insrsid1 ##}{\\insrsid2 ll&} \\'ec\\par\r\n}";

} // namespace

int main() {
    const char* office = std::getenv("SOFFICE");
    const std::string soffice = office && *office ? office : InPath("soffice");
    if (soffice.empty()) {
        std::printf("SKIP: soffice (LibreOffice) is not installed\n");
        return 77;
    }

    const Picture picture{SamplePng(), 2, 2, 1440, 1440}; // one inch square
    Check(WellFormedPng(picture.png, 2, 2), "the sample is a well-formed 2 x 2 PNG");

    Document doc(kTemplate);
    const std::size_t pic = doc.find(U"##pic&", 0);
    Check(pic != Document::npos && doc.replaceWithPicture(pic, 6, picture) == pic,
          "the picture replaces its tag");
    const std::size_t value = doc.find(U"##ll&", 0);
    Check(value != Document::npos && doc.replace(value, 5, U"12,5") == value + 4,
          "the value after it replaces its tag");
    Check(doc.text() == U"Зона защиты: \rВысота: 12,5 м\r", "the text holds the value only");

    char pattern[] = "/tmp/vostrel-rtf-office-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::printf("FAIL: cannot make a temporary directory\n");
        return 1;
    }
    const fs::path dir = pattern;
    const fs::path rtf = dir / "report.rtf", pdf = dir / "report.pdf";
    std::ofstream(rtf, std::ios::binary) << doc.source();

    const std::string convert = "'" + soffice + "' -env:UserInstallation=file://" +
                                (dir / "profile").string() +
                                " --headless --norestore --convert-to pdf --outdir '" +
                                dir.string() + "' '" + rtf.string() + "' 2>&1";
    const auto [log, converted] = Output(convert);
    Check(converted, "soffice converts the report to PDF");
    std::ifstream file(pdf, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    Check(bytes.starts_with("%PDF-"), "the PDF exists");
    if (!converted || !bytes.starts_with("%PDF-")) {
        std::printf("soffice said:\n%s\nkept for a look: %s\n", log.c_str(), dir.c_str());
        return 1;
    }

    if (!InPath("pdfimages").empty()) {
        // Two header lines, then one line per image: page num type width height ...
        const auto [list, listed] = Output("pdfimages -list '" + pdf.string() + "'");
        std::istringstream lines(list);
        std::string line;
        int images = 0;
        bool twoByTwo = false;
        for (int n = 0; std::getline(lines, line); ++n) {
            if (n < 2 || line.empty())
                continue;
            ++images;
            std::istringstream fields(line);
            std::string page, num, type;
            int width = 0, height = 0;
            fields >> page >> num >> type >> width >> height;
            twoByTwo = width == 2 && height == 2;
        }
        Check(listed && images == 1, "pdfimages lists one image");
        Check(twoByTwo, "the image is 2 x 2 pixels");
        if (images != 1 || !twoByTwo)
            std::printf("pdfimages -list:\n%s\n", list.c_str());
    } else {
        std::printf("pdfimages (poppler-utils) is not installed: the images are not counted\n");
    }
    if (!InPath("pdftotext").empty()) {
        const auto [text, read] = Output("pdftotext -enc UTF-8 '" + pdf.string() + "' -");
        Check(read && text.find("Высота: 12,5 м") != std::string::npos &&
                  text.find('#') == std::string::npos,
              "the PDF's text has the value and no tag");
    }

    std::error_code ignored;
    if (failures == 0)
        fs::remove_all(dir, ignored);
    else
        std::printf("kept for a look: %s\n", dir.c_str());
    return failures == 0 ? 0 : 1;
}
