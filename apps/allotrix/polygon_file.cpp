#include "polygon_file.h"

#include "planar/disconnect_point.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>

namespace AllotrixApp {
namespace {

constexpr std::string_view kSpace = " \t\r\f\v";

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

// Splits off the next whitespace-separated token.
std::string_view nextToken(std::string_view& rest) {
    rest = trimmed(rest);
    const size_t end = std::min(rest.find_first_of(kSpace), rest.size());
    const std::string_view token = rest.substr(0, end);
    rest.remove_prefix(end);
    return token;
}

// The offending text for an error message: short, and printable.
std::string excerpt(std::string_view text) {
    constexpr size_t kMaxExcerpt = 40;
    std::string out(text.substr(0, kMaxExcerpt));
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f) c = '?';
    }
    return text.size() > kMaxExcerpt ? out + "..." : out;
}

std::optional<double> finiteNumber(std::string_view token) {
    double value = 0.0;
    const char* end = token.data() + token.size();
    const auto [stop, status] = std::from_chars(token.data(), end, value);
    if (token.empty() || status != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Builds the point list ring by ring and remembers the first failure.
class RingCollector {
public:
    explicit RingCollector(const std::string& sourceName) : source_(sourceName) {}

    bool failed() const { return !result_.error.empty(); }

    // A line number of 0 names no line.
    void fail(long long line, const std::string& message) {
        if (failed()) return;
        result_.error = source_;
        if (line > 0) result_.error.append(":").append(std::to_string(line));
        result_.error.append(": ").append(message);
    }

    void addPoint(long long line, double x, double y) {
        if (ringSize_ == 0) {
            ringStartLine_ = line;
            if (result_.ringCount > 0) {
                Korvex::DPoint3d separator;
                Korvex::tgxDPoint3d_initDisconnect(&separator);
                result_.points.push_back(separator);
            }
            ++result_.ringCount;
        }
        if (static_cast<int>(result_.points.size()) >= kMaxPolygonPoints) {
            fail(line, "more than " + std::to_string(kMaxPolygonPoints) + " points");
            return;
        }
        result_.points.push_back({x, y, 0.0});
        ++ringSize_;
    }

    void endRing() {
        if (ringSize_ > 0 && ringSize_ < 3) {
            fail(ringStartLine_, "the ring starting here has " + std::to_string(ringSize_) +
                                     " point(s); a ring needs at least 3");
        }
        ringSize_ = 0;
    }

    PolygonText finish() {
        endRing();
        if (result_.points.empty()) fail(0, "no coordinates found");
        if (failed()) {
            result_.points.clear();
            result_.ringCount = 0;
        }
        return std::move(result_);
    }

private:
    std::string source_;
    PolygonText result_;
    int ringSize_ = 0;
    long long ringStartLine_ = 0;
};

}  // namespace

PolygonText parsePolygonText(std::istream& in, const std::string& sourceName) {
    RingCollector rings(sourceName);
    std::string line;
    // Line numbers are wide: a hostile file may hold billions of blank lines.
    for (long long lineNumber = 1; !rings.failed() && std::getline(in, line); ++lineNumber) {
        const std::string_view raw = line;
        if (trimmed(raw).empty()) {
            rings.endRing();
            continue;
        }
        std::string_view rest = trimmed(raw.substr(0, raw.find('#')));
        if (rest.empty()) continue;  // a comment line does not end a ring
        const std::optional<double> x = finiteNumber(nextToken(rest));
        const std::optional<double> y = finiteNumber(nextToken(rest));
        if (!x || !y || !trimmed(rest).empty()) {
            rings.fail(lineNumber, "expected two finite numbers \"x y\", found \"" +
                                       excerpt(trimmed(raw)) + "\"");
            break;
        }
        rings.addPoint(lineNumber, *x, *y);
    }
    if (in.bad()) rings.fail(0, "read error");
    return rings.finish();
}

PolygonText readPolygonFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        PolygonText failure;
        failure.error = path + ": is a directory";
        return failure;
    }
    std::ifstream in(path);
    if (!in) {
        PolygonText failure;
        failure.error = path + ": cannot open: " + std::strerror(errno);
        return failure;
    }
    return parsePolygonText(in, path);
}

}  // namespace AllotrixApp
