#include "profile-table.hpp"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace t48::sim {
namespace {

const Oid kTableEntry = {1, 3, 6, 1, 4, 1, 47193, 1, 1, 1, 1, 6, 13, 1, 1};
constexpr uint32_t kFixedSubId = 1;
constexpr std::size_t kRowFields = 7;
constexpr int kFirstMoreColumn = 8;

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

template <typename T>
bool parseNumber(const std::string& text, T& out) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

std::optional<ProfileRow> parseRow(const std::string& line) {
    std::vector<std::string> f = splitTabs(line);
    ProfileRow row;
    if (f.size() < kRowFields || !parseNumber(f[0], row.index) || row.index == 0 ||
        !parseNumber(f[1], row.sourceType) || !parseNumber(f[4], row.profileClass) ||
        !parseNumber(f[5], row.column6) || !parseNumber(f[6], row.availability)) {
        return std::nullopt;
    }
    for (std::size_t i = kRowFields; i < f.size(); ++i) {
        int32_t value = 0;
        if (!parseNumber(f[i], value)) {
            return std::nullopt;
        }
        row.moreColumns.push_back(value);
    }
    row.profileName = f[2];
    row.fileName = f[3];
    return row;
}

Oid cell(int column, uint32_t row) {
    Oid name = kTableEntry;
    name.push_back(static_cast<uint32_t>(column));
    name.push_back(kFixedSubId);
    name.push_back(row);
    return name;
}

}  // namespace

std::optional<std::vector<ProfileRow>> readRowsFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        return std::nullopt;
    }
    std::vector<ProfileRow> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::optional<ProfileRow> row = parseRow(line);
        if (!row) {
            return std::nullopt;
        }
        rows.push_back(*row);
    }
    return rows;
}

std::vector<TableValue> tableValues(const std::vector<ProfileRow>& rows) {
    std::vector<TableValue> values;
    auto integer = [](int32_t v) { return std::to_string(v); };
    for (const ProfileRow& r : rows) {
        values.push_back({cell(1, r.index), "integer", integer(static_cast<int32_t>(r.index))});
        values.push_back({cell(2, r.index), "integer", integer(r.sourceType)});
        values.push_back({cell(3, r.index), "string", r.profileName});
        values.push_back({cell(4, r.index), "string", r.fileName});
        values.push_back({cell(5, r.index), "integer", integer(r.profileClass)});
        values.push_back({cell(6, r.index), "integer", integer(r.column6)});
        values.push_back({cell(7, r.index), "integer", integer(r.availability)});
        for (std::size_t i = 0; i < r.moreColumns.size(); ++i) {
            values.push_back({cell(kFirstMoreColumn + static_cast<int>(i), r.index), "integer",
                              integer(r.moreColumns[i])});
        }
    }
    std::sort(values.begin(), values.end(),
              [](const TableValue& a, const TableValue& b) { return a.name < b.name; });
    // A row listed twice is served once.
    values.erase(
        std::unique(values.begin(), values.end(),
                    [](const TableValue& a, const TableValue& b) { return a.name == b.name; }),
        values.end());
    return values;
}

std::optional<Oid> parseOid(const std::string& text) {
    std::string body = !text.empty() && text[0] == '.' ? text.substr(1) : text;
    if (body.empty()) {
        return std::nullopt;
    }
    Oid name;
    std::stringstream in(body);
    std::string part;
    while (std::getline(in, part, '.')) {
        uint32_t sub = 0;
        if (!parseNumber(part, sub)) {
            return std::nullopt;
        }
        name.push_back(sub);
    }
    return name;
}

std::string formatOid(const Oid& name) {
    std::string text;
    for (uint32_t sub : name) {
        text += '.';
        text += std::to_string(sub);
    }
    return text;
}

const TableValue* findExact(const std::vector<TableValue>& values, const Oid& name) {
    auto it = std::lower_bound(values.begin(), values.end(), name,
                               [](const TableValue& v, const Oid& n) { return v.name < n; });
    return it != values.end() && it->name == name ? &*it : nullptr;
}

const TableValue* findNext(const std::vector<TableValue>& values, const Oid& name) {
    auto it = std::upper_bound(values.begin(), values.end(), name,
                               [](const Oid& n, const TableValue& v) { return n < v.name; });
    return it != values.end() ? &*it : nullptr;
}

}  // namespace t48::sim
