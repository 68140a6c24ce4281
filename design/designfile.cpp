#include "designfile.h"

#include "calc/numtext.h"
#include "calc/strike.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

namespace vostrel {

namespace {
using Json = nlohmann::ordered_json;

constexpr const char* kBuildingKeys[3] = {"width", "length", "height"};
// Deeper nesting than a design has is refused while parsing.
constexpr int kMaxDepth = 16;

// Replaces every `from` in `text` by `to`.
std::string Replace(std::string text, std::string_view from, std::string_view to) {
    if (from.empty() || from == to)
        return text;
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A refusal: what is wrong with the file.
struct Refusal {
    std::string reason;
};

std::string Quoted(const std::string& key) {
    return "«" + key + "»";
}

// The legend's classes as a list for a message.
std::string LegendText() {
    std::string out;
    for (std::size_t i = 0; i < kThunderstormClasses.size(); ++i)
        out += (i == 0                                 ? ""
                : i + 1 == kThunderstormClasses.size() ? " или "
                                                       : ", ") +
               std::to_string(kThunderstormClasses[i].hours);
    return out;
}

std::string RodCodesText() {
    const auto types = RodTypeInfos();
    return std::to_string(types.front().code) + "–" + std::to_string(types.back().code);
}

// A number text of the file ("." as the mark), or empty; given back with
// `separator`.
std::string NumberOf(const Json& value, const std::string& key, std::string_view separator) {
    if (!value.is_string())
        throw Refusal{"значение " + Quoted(key) + " должно быть текстом"};
    const auto& text = value.get_ref<const std::string&>();
    if (text.empty())
        return text;
    try {
        TextToFloat(text, ".");
    } catch (const ConversionError&) {
        throw Refusal{"значение " + Quoted(key) + " («" + text.substr(0, 40) + "») не число"};
    }
    return Replace(text, ".", separator);
}

// An integer or null; `key` names it in a refusal.
std::optional<std::int64_t> IntegerOf(const Json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null())
        return std::nullopt;
    if (found->is_number_unsigned())
        return static_cast<std::int64_t>(std::min<std::uint64_t>(
            found->get<std::uint64_t>(), std::numeric_limits<std::int64_t>::max()));
    if (found->is_number_integer())
        return found->get<std::int64_t>();
    throw Refusal{"значение " + Quoted(key) + " должно быть целым числом или null"};
}

void ReadHeader(const Json& root) {
    const auto format = root.find("format");
    if (format == root.end() || !format->is_string() || *format != kDesignFormat)
        throw Refusal{"это не файл проекта Vostrel (нет ключа «format» со значением «" +
                      std::string(kDesignFormat) + "»)"};
    const auto version = IntegerOf(root, "version");
    if (!version || *version < 1)
        throw Refusal{"значение «version» должно быть целым числом от 1"};
    if (*version > kDesignVersion)
        throw Refusal{"файл версии " + std::to_string(*version) +
                      " сохранён более новой программой; эта читает версию " +
                      std::to_string(kDesignVersion)};
}

void ReadBuilding(const Json& root, DesignFile& file, std::string_view separator) {
    const auto building = root.find("building");
    if (building == root.end() || building->is_null())
        return;
    if (!building->is_object())
        throw Refusal{"значение «building» должно быть объектом"};
    for (std::size_t i = 0; i < 3; ++i)
        if (const auto text = building->find(kBuildingKeys[i]); text != building->end())
            file.building[i] =
                NumberOf(*text, std::string("building.") + kBuildingKeys[i], separator);
}

void ReadChoices(const Json& root, DesignFile& file) {
    if (const auto hours = IntegerOf(root, "thunderstormHours")) {
        if (std::none_of(kThunderstormClasses.begin(), kThunderstormClasses.end(),
                         [&](const ThunderstormClass& c) { return c.hours == *hours; }))
            throw Refusal{"значения «thunderstormHours» " + std::to_string(*hours) +
                          " нет на карте (" + LegendText() + ")"};
        file.thunderstormHours = static_cast<int>(*hours);
    }
    if (const auto code = IntegerOf(root, "buildingType")) {
        if (*code < 1 || *code > std::numeric_limits<std::int32_t>::max())
            throw Refusal{"значение «buildingType» " + std::to_string(*code) +
                          " не код типа здания"};
        file.buildingType = static_cast<std::int32_t>(*code);
    }
    if (const auto code = IntegerOf(root, "rodType")) {
        if (!FindRodType(static_cast<std::int32_t>(
                std::clamp<std::int64_t>(*code, 0, std::numeric_limits<std::int32_t>::max()))))
            throw Refusal{"значение «rodType» " + std::to_string(*code) + " не тип молниеотвода (" +
                          RodCodesText() + ")"};
        file.rodType = static_cast<std::int32_t>(*code);
    }
}

void ReadRodInputs(const Json& root, DesignFile& file, std::string_view separator) {
    const auto inputs = root.find("rodInputs");
    if (inputs != root.end() && !inputs->is_null()) {
        if (!inputs->is_array())
            throw Refusal{"значение «rodInputs» должно быть списком текстов"};
        const int takes = file.rodType ? FindRodType(*file.rodType)->inputCount() : 0;
        if (inputs->size() > static_cast<std::size_t>(takes))
            throw Refusal{"в «rodInputs» " + std::to_string(inputs->size()) +
                          " значений, а выбранный тип молниеотвода принимает " +
                          std::to_string(takes)};
        for (std::size_t i = 0; i < inputs->size(); ++i)
            file.rodInputs.push_back(
                NumberOf((*inputs)[i], "rodInputs[" + std::to_string(i) + "]", separator));
    }
    const auto calculated = root.find("calculated");
    if (calculated == root.end() || calculated->is_null())
        return;
    if (!calculated->is_boolean())
        throw Refusal{"значение «calculated» должно быть true или false"};
    file.calculated = calculated->get<bool>();
    const bool complete = file.rodType &&
                          file.rodInputs.size() ==
                              static_cast<std::size_t>(FindRodType(*file.rodType)->inputCount()) &&
                          std::none_of(file.rodInputs.begin(), file.rodInputs.end(),
                                       [](const std::string& text) { return text.empty(); });
    if (file.calculated && !complete)
        throw Refusal{"«calculated» отмечает расчёт, но данные молниеотвода заданы не все"};
}

// A coordinate as the shortest text that reads back as the same number.
std::string CoordinateText(double value, std::string_view separator) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return Replace(std::string(buffer, end), ".", separator);
}

// A coordinate text as the file's number; none when it is not one.
std::optional<double> CoordinateOf(const std::string& text, std::string_view separator) {
    const std::string dotted = Replace(text, separator, ".");
    double value = 0;
    const char* const end = dotted.data() + dotted.size();
    const auto [at, error] = std::from_chars(dotted.data(), end, value);
    if (error != std::errc() || at != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string CoordinateFrom(const Json& rod, const char* key, const std::string& where,
                           std::string_view separator) {
    const auto found = rod.find(key);
    if (found == rod.end() || !found->is_number())
        throw Refusal{"значение " + Quoted(where + "." + key) + " должно быть числом"};
    const double value = found->get<double>();
    if (!std::isfinite(value) || std::fabs(value) > kFarthestRod)
        throw Refusal{"значение " + Quoted(where + "." + key) +
                      " должно быть в пределах ±10 000 м"};
    return CoordinateText(value, separator);
}

// "rods": at most kMostRods objects of x, y (numbers, m) and h (a text).
void ReadRods(const Json& root, DesignFile& file, std::string_view separator) {
    const auto rods = root.find("rods");
    if (rods == root.end() || rods->is_null())
        return;
    if (!rods->is_array())
        throw Refusal{"значение «rods» должно быть списком молниеотводов"};
    if (rods->size() > kMostRods)
        throw Refusal{"в «rods» " + std::to_string(rods->size()) +
                      " молниеотводов, а их может быть не больше 100"};
    for (std::size_t i = 0; i < rods->size(); ++i) {
        const Json& rod = (*rods)[i];
        const std::string where = "rods[" + std::to_string(i) + "]";
        if (!rod.is_object())
            throw Refusal{"значение " + Quoted(where) + " должно быть объектом"};
        const auto h = rod.find("h");
        if (h == rod.end())
            throw Refusal{"в " + Quoted(where) + " нет высоты «h»"};
        file.rods.push_back({CoordinateFrom(rod, "x", where, separator),
                             CoordinateFrom(rod, "y", where, separator),
                             NumberOf(*h, where + ".h", separator)});
    }
}

Json RodsJson(const std::vector<RodText>& rods, std::string_view separator) {
    Json list = Json::array();
    const auto number = [&](const std::string& text) {
        const auto value = CoordinateOf(text, separator);
        return value ? Json(*value) : Json(nullptr);
    };
    for (const RodText& rod : rods)
        list.push_back(
            {{"x", number(rod.x)}, {"y", number(rod.y)}, {"h", Replace(rod.h, separator, ".")}});
    return list;
}

// The rods' placement on the site plan: an object of three finite numbers
// within kMaxPlacement; other keys in it are ignored.
void ReadPlacement(const Json& root, DesignFile& file) {
    const auto placement = root.find("placement");
    if (placement == root.end() || placement->is_null())
        return;
    if (!placement->is_object())
        throw Refusal{"значение «placement» должно быть объектом с числами «x», «y» и «angle»"};
    const auto number = [&](const char* key) {
        const std::string name = std::string("placement.") + key;
        const auto value = placement->find(key);
        if (value == placement->end() || !value->is_number())
            throw Refusal{"значение " + Quoted(name) + " должно быть числом"};
        const double x = value->get<double>();
        if (!std::isfinite(x) || std::abs(x) > kMaxPlacement)
            throw Refusal{"значение " + Quoted(name) + " больше 10 000 по модулю"};
        return x;
    };
    file.placement = Placement{number("x"), number("y"), number("angle")};
}

Json Parse(std::string_view bytes) {
    const Json::parser_callback_t depth = [](int level, Json::parse_event_t, Json&) {
        if (level > kMaxDepth)
            throw Refusal{"вложенность JSON глубже " + std::to_string(kMaxDepth) + " уровней"};
        return true;
    };
    try {
        return Json::parse(bytes.begin(), bytes.end(), depth);
    } catch (const Json::parse_error& e) {
        throw Refusal{"содержимое не JSON (ошибка около байта " + std::to_string(e.byte) + ")"};
    }
}
} // namespace

DesignFile FileContentOf(const Design& design) {
    DesignFile file;
    file.building = design.building;
    file.thunderstormHours = design.thunderstormHours;
    if (design.buildingType && design.buildingType->code != 0)
        file.buildingType = design.buildingType->code;
    // The list's pick; the rod page's inputs go with it only while the page
    // is laid out for it.
    const std::int32_t type = design.listRodType != 0 ? design.listRodType : design.rodType;
    if (FindRodType(type)) {
        file.rodType = type;
        if (type == kRodSystem)
            file.rods = design.rods;
        if (type == design.rodType) {
            file.rodInputs = design.rodInputs;
            file.calculated = design.calculated();
        }
    }
    file.placement = design.placement;
    return file;
}

std::string WriteDesignFile(const DesignFile& file, std::string_view separator) {
    const auto text = [&](const std::string& t) { return Replace(t, separator, "."); };
    const auto orNull = [](const auto& value) { return value ? Json(*value) : Json(nullptr); };
    Json building = Json::object();
    for (std::size_t i = 0; i < 3; ++i)
        building[kBuildingKeys[i]] = text(file.building[i]);
    Json inputs = Json::array();
    for (const std::string& input : file.rodInputs)
        inputs.push_back(text(input));
    Json root = {{"format", kDesignFormat},
                 {"version", kDesignVersion},
                 {"building", building},
                 {"thunderstormHours", orNull(file.thunderstormHours)},
                 {"buildingType", orNull(file.buildingType)},
                 {"rodType", orNull(file.rodType)},
                 {"rodInputs", inputs},
                 {"calculated", file.calculated}};
    if (!file.rods.empty())
        root["rods"] = RodsJson(file.rods, separator);
    if (file.placement)
        root["placement"] = {{"x", file.placement->x},
                             {"y", file.placement->y},
                             {"angle", file.placement->angleDegrees}};
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

DesignReading ReadDesignFile(std::string_view bytes, std::string_view separator) {
    if (bytes.size() > kMaxDesignFileSize)
        return {std::nullopt, "файл больше 1 МБ"};
    try {
        const Json root = Parse(bytes);
        if (!root.is_object())
            return {std::nullopt, "содержимое не объект JSON"};
        ReadHeader(root);
        DesignFile file;
        ReadBuilding(root, file, separator);
        ReadChoices(root, file);
        ReadRodInputs(root, file, separator);
        ReadRods(root, file, separator);
        ReadPlacement(root, file);
        return {std::move(file), {}};
    } catch (const Refusal& refusal) {
        return {std::nullopt, refusal.reason};
    } catch (const std::exception& e) {
        return {std::nullopt, std::string("файл не прочитан: ") + e.what()};
    }
}

DesignReading ReadDesignPath(const std::string& path, std::string_view separator) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status))
        return {std::nullopt, "файл не найден"};
    if (!std::filesystem::is_regular_file(status))
        return {std::nullopt, "это не файл, а папка или устройство"};
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxDesignFileSize)
        return {std::nullopt, "файл больше 1 МБ"};
    // At most one byte past the limit: a file that grew is refused too.
    std::ifstream in(path, std::ios::binary);
    std::string bytes(kMaxDesignFileSize + 1, '\0');
    if (in)
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!in && !in.eof())
        return {std::nullopt, "файл не читается (нет прав на чтение или ошибка диска)"};
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return ReadDesignFile(bytes, separator);
}

} // namespace vostrel
