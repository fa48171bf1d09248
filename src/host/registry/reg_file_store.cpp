#include "host/registry/reg_file_store.h"

#include <fstream>
#include <optional>
#include <vector>

namespace Norvane::Support {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = LowerAscii(c);
    return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (LowerAscii(text[i]) != LowerAscii(prefix[i])) return false;
    return true;
}

std::string_view Trimmed(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16 text (after its byte-order mark) as UTF-8; a lone surrogate becomes
// U+FFFD and an odd last byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    const auto unitAt = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (unit >= 0xD800 && unit < 0xE000) unit = 0xFFFD;
        AppendUtf8(out, unit);
    }
    return out;
}

std::string DecodedText(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) return Utf16ToUtf8(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF")) return Utf16ToUtf8(bytes.substr(2), true);
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return std::string(bytes);
}

// Lines without their ends, a line ending in a backslash joined with the
// next (long binary values are written so).
std::vector<std::string> LogicalLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string pending;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const bool continues = line.ends_with('\\') && !line.starts_with('[');
        if (continues) line.remove_suffix(1);
        pending += line;
        if (!continues) lines.push_back(std::move(pending)), pending.clear();
    }
    if (!pending.empty()) lines.push_back(std::move(pending));
    return lines;
}

std::optional<unsigned> HexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    return std::nullopt;
}

// "dword:" followed by one to eight hex digits.
std::optional<std::uint32_t> DwordValue(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : digits) {
        const auto digit = HexDigit(c);
        if (!digit) return std::nullopt;
        value = value << 4 | *digit;
    }
    return value;
}

// "hex(4):" followed by exactly four comma-separated bytes, low byte first.
std::optional<std::uint32_t> HexDwordValue(std::string_view bytes) {
    std::uint32_t value = 0;
    int count = 0;
    while (true) {
        const std::size_t comma = bytes.find(',');
        const std::string_view byte = Trimmed(bytes.substr(0, comma));
        if (byte.size() != 2 || count == 4) return std::nullopt;
        const auto high = HexDigit(byte[0]), low = HexDigit(byte[1]);
        if (!high || !low) return std::nullopt;
        value |= (*high << 4 | *low) << (8 * count++);
        if (comma == std::string_view::npos) break;
        bytes.remove_prefix(comma + 1);
    }
    if (count != 4) return std::nullopt;
    return value;
}

// A key as stored: below the current user's root, ASCII lower case, without
// trailing backslashes. Nothing for a key of another root.
std::optional<std::string> UserKey(std::string_view key, bool requireRoot) {
    key = Trimmed(key);
    const std::size_t slash = key.find('\\');
    const std::string_view root = key.substr(0, slash);
    const bool isUserRoot = (root.size() == 17 && StartsWithNoCase(root, "HKEY_CURRENT_USER")) ||
                            (root.size() == 4 && StartsWithNoCase(root, "HKCU"));
    if (isUserRoot) {
        key = slash == std::string_view::npos ? std::string_view{} : key.substr(slash + 1);
    } else if (requireRoot) {
        return std::nullopt;
    }
    while (key.ends_with('\\')) key.remove_suffix(1);
    return Lowered(key);
}

}  // namespace

// Applies the lines of one file to a store, in order.
class RegFileStore::Reader {
public:
    explicit Reader(RegFileStore& store) : m_store(store) {}

    void Apply(std::string_view line) {
        if (line.starts_with('[')) {
            Section(line);
        } else if (m_key && (line.starts_with('"') || line.starts_with('@'))) {
            Value(line);
        }
    }

private:
    void Section(std::string_view line) {
        m_key.reset();
        if (!line.ends_with(']')) return;
        line = line.substr(1, line.size() - 2);
        const bool deletes = line.starts_with('-');
        const std::optional<std::string> key = UserKey(deletes ? line.substr(1) : line, true);
        if (!key) return;
        if (deletes) {
            DeleteKey(*key);
        } else {
            m_key = key;
        }
    }

    // The key's own values and those of every key below it.
    void DeleteKey(const std::string& key) {
        auto& values = m_store.m_values;
        for (auto it = values.lower_bound(key); it != values.end() && it->first.starts_with(key);) {
            const bool below = key.empty() || it->first.size() == key.size() || it->first[key.size()] == '\\';
            it = below ? values.erase(it) : std::next(it);
        }
    }

    void Value(std::string_view line) {
        std::string name;
        if (line.starts_with('@')) {
            line.remove_prefix(1);
        } else if (!QuotedName(line, name)) {
            return;
        }
        line = Trimmed(line);
        if (!line.starts_with('=')) return;
        const std::string_view value = Trimmed(line.substr(1));
        auto& values = m_store.m_values[*m_key];
        name = Lowered(name);
        std::optional<std::uint32_t> dword;
        if (StartsWithNoCase(value, "dword:")) dword = DwordValue(value.substr(6));
        else if (StartsWithNoCase(value, "hex(4):")) dword = HexDwordValue(value.substr(7));
        // Deleted, malformed or of another type: in every case no DWORD now.
        if (dword) values[name] = *dword;
        else values.erase(name);
    }

    // Reads "name" with its \\ and \" escapes and moves the line past it.
    static bool QuotedName(std::string_view& line, std::string& name) {
        for (std::size_t i = 1; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '"') {
                line.remove_prefix(i + 1);
                return true;
            }
            if (c == '\\' && i + 1 < line.size()) {
                name += line[++i];
            } else {
                name += c;
            }
        }
        return false;
    }

    RegFileStore& m_store;
    std::optional<std::string> m_key;  // the section being read, when it is the user's
};

RegFileStore RegFileStore::FromText(std::string_view text) {
    RegFileStore store;
    try {
        Reader reader(store);
        for (const std::string& line : LogicalLines(DecodedText(text))) reader.Apply(line);
    } catch (const std::bad_alloc&) {
        return RegFileStore();
    }
    return store;
}

RegFileStore RegFileStore::FromFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > kMaxFileBytes) return RegFileStore();
    std::ifstream in(path, std::ios::binary);
    if (!in) return RegFileStore();
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return FromText(bytes);
}

std::optional<std::uint32_t> RegFileStore::ReadDword(std::string_view key, std::string_view name) const {
    try {
        const std::optional<std::string> userKey = UserKey(key, false);
        const auto values = m_values.find(*userKey);
        if (values == m_values.end()) return std::nullopt;
        const auto value = values->second.find(Lowered(name));
        if (value == values->second.end()) return std::nullopt;
        return value->second;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace Norvane::Support
