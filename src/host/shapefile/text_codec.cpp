#include "host/shapefile/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <utility>
#include <vector>

namespace Norvane::Shapefile {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// dBASE language-driver IDs and the code pages they name.
struct LanguageDriver {
    std::uint8_t id;
    int codePage;
};
constexpr LanguageDriver kLanguageDrivers[] = {
    {0x01, 437},  {0x02, 850},  {0x03, 1252}, {0x04, 10000}, {0x08, 865},  {0x09, 437},  {0x0A, 850},
    {0x0B, 437},  {0x0D, 437},  {0x0E, 850},  {0x0F, 437},   {0x10, 850},  {0x11, 437},  {0x12, 850},
    {0x13, 932},  {0x14, 850},  {0x15, 437},  {0x16, 850},   {0x17, 865},  {0x18, 437},  {0x19, 437},
    {0x1A, 850},  {0x1B, 437},  {0x1C, 863},  {0x1D, 850},   {0x1F, 852},  {0x22, 852},  {0x23, 852},
    {0x24, 860},  {0x25, 850},  {0x26, 866},  {0x37, 850},   {0x40, 852},  {0x4D, 936},  {0x4E, 949},
    {0x4F, 950},  {0x50, 874},  {0x57, 1252}, {0x58, 1252},  {0x59, 1252}, {0x64, 852},  {0x65, 866},
    {0x66, 865},  {0x67, 861},  {0x6A, 737},  {0x6B, 857},   {0x6C, 863},  {0x78, 950},  {0x79, 949},
    {0x7A, 936},  {0x7B, 932},  {0x7C, 874},  {0x7D, 1255},  {0x7E, 1256}, {0x86, 737},  {0x87, 852},
    {0x88, 857},  {0xC8, 1250}, {0xC9, 1251}, {0xCA, 1254},  {0xCB, 1253}, {0xCC, 1257},
};

std::string upperTrimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The names .cpg files use: "UTF-8", "65001", "1252", "ANSI 1252", "88591",
// "8859_1", "ISO-8859-1", "LATIN1", "BIG5", ...
std::string codePageOfCpg(std::string_view cpg) {
    const std::string name = upperTrimmed(cpg);
    if (name == "UTF-8" || name == "UTF8" || name == "65001") return "UTF-8";
    if (name.starts_with("ANSI ") && allDigits(name.substr(5))) return "CP" + name.substr(5);
    if (name.starts_with("8859")) {
        std::string part = name.substr(4);
        if (!part.empty() && (part.front() == '_' || part.front() == '-')) part.erase(0, 1);
        if (allDigits(part)) return "ISO-8859-" + part;
    }
    if (allDigits(name)) return "CP" + name;
    return name;
}

bool iconvKnows(const std::string& codePage) {
    if (codePage == "UTF-8") return true;
    const iconv_t converter = iconv_open("UTF-8", codePage.c_str());
    if (converter == kNoConverter) return false;
    iconv_close(converter);
    return true;
}

enum class Outcome { Done, Invalid, Incomplete };

// Runs `converter` over `input`, appending to `output`; stops at the first
// byte it cannot convert and leaves `input` there.
Outcome convertSome(iconv_t converter, std::string_view& input, std::string& output) {
    char buffer[256];
    while (!input.empty()) {
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        input.remove_prefix(input.size() - inLeft);
        if (result != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        return errno == EINVAL ? Outcome::Incomplete : Outcome::Invalid;
    }
    return Outcome::Done;
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The length of the valid UTF-8 sequence at the start of `text`, 0 if none.
std::size_t utf8SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80) return 0;
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    if (lead == 0xE0 && byte(1) < 0xA0) return 0;
    if (lead == 0xED && byte(1) > 0x9F) return 0;
    if (lead == 0xF0 && byte(1) < 0x90) return 0;
    if (lead == 0xF4 && byte(1) > 0x8F) return 0;
    return length;
}

std::string sanitizedUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = utf8SequenceLength(text);
        if (length == 0) {
            out += kReplacement;
            text.remove_prefix(1);
        } else {
            out += text.substr(0, length);
            text.remove_prefix(length);
        }
    }
    return out;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t length = utf8SequenceLength(text);
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return true;
}

std::string CodePageOf(const std::optional<std::string>& cpgText, std::uint8_t languageDriver) {
    if (cpgText) {
        const std::string named = codePageOfCpg(*cpgText);
        if (!named.empty() && iconvKnows(named)) return named;
    }
    for (const LanguageDriver& driver : kLanguageDrivers)
        if (driver.id == languageDriver) {
            const std::string named = "CP" + std::to_string(driver.codePage);
            if (iconvKnows(named)) return named;
        }
    return "CP1252";
}

TextDecoder::TextDecoder(const std::string& codePage) {
    if (codePage == "UTF-8") return;
    iconv_t converter = iconv_open("UTF-8", codePage.c_str());
    m_kind = Kind::SingleByte;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        std::string& decoded = m_upperHalf[static_cast<std::size_t>(byte - 0x80)];
        const char single = static_cast<char>(byte);
        std::string_view input(&single, 1);
        if (converter == kNoConverter) {  // no converters installed: read as Latin-1
            decoded = {static_cast<char>(0xC0 | (byte >> 6)), static_cast<char>(0x80 | (byte & 0x3F))};
            continue;
        }
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        const Outcome outcome = convertSome(converter, input, decoded);
        if (outcome == Outcome::Incomplete) m_kind = Kind::MultiByte;
        if (outcome != Outcome::Done || decoded.empty()) decoded = kReplacement;
    }
    if (m_kind == Kind::MultiByte)
        m_converter = converter;
    else if (converter != kNoConverter)
        iconv_close(converter);
}

TextDecoder::~TextDecoder() {
    if (m_converter) iconv_close(static_cast<iconv_t>(m_converter));
}

TextDecoder::TextDecoder(TextDecoder&& other) noexcept
    : m_kind(other.m_kind), m_upperHalf(std::move(other.m_upperHalf)), m_converter(std::exchange(other.m_converter, nullptr)) {}

TextDecoder& TextDecoder::operator=(TextDecoder&& other) noexcept {
    std::swap(m_kind, other.m_kind);
    std::swap(m_upperHalf, other.m_upperHalf);
    std::swap(m_converter, other.m_converter);
    return *this;
}

std::string TextDecoder::Decode(std::string_view text) const {
    if (isAscii(text)) return std::string(text);
    switch (m_kind) {
    case Kind::Utf8: return IsValidUtf8(text) ? std::string(text) : sanitizedUtf8(text);
    case Kind::MultiByte: return decodeMultiByte(text);
    case Kind::SingleByte: break;
    }
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            out += c;
        else
            out += m_upperHalf[byte - 0x80];
    }
    return out;
}

std::string TextDecoder::decodeMultiByte(std::string_view text) const {
    const auto converter = static_cast<iconv_t>(m_converter);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    while (!text.empty()) {
        if (convertSome(converter, text, out) == Outcome::Done) break;
        out += kReplacement;  // an undefined or cut-off character
        text.remove_prefix(1);
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

TextEncoder::TextEncoder(const std::string& codePage) : m_codePage(codePage), m_utf8(codePage == "UTF-8") {
    if (m_utf8) return;
    const iconv_t converter = iconv_open(codePage.c_str(), "UTF-8");
    if (converter != kNoConverter) m_converter = converter;
}

TextEncoder::~TextEncoder() {
    if (m_converter) iconv_close(static_cast<iconv_t>(m_converter));
}

TextEncoder::TextEncoder(TextEncoder&& other) noexcept
    : m_codePage(std::move(other.m_codePage)), m_utf8(other.m_utf8), m_converter(std::exchange(other.m_converter, nullptr)) {}

TextEncoder& TextEncoder::operator=(TextEncoder&& other) noexcept {
    std::swap(m_codePage, other.m_codePage);
    std::swap(m_utf8, other.m_utf8);
    std::swap(m_converter, other.m_converter);
    return *this;
}

bool TextEncoder::KeepsAsIs(std::string_view utf8) const {
    return IsValidUtf8(utf8) && (m_utf8 || isAscii(utf8));
}

std::optional<std::string> TextEncoder::Encode(std::string_view utf8) const {
    if (KeepsAsIs(utf8)) return std::string(utf8);
    if (!IsValidUtf8(utf8)) return std::nullopt;
    if (!m_converter) return std::nullopt;
    const auto converter = static_cast<iconv_t>(m_converter);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    if (convertSome(converter, utf8, out) != Outcome::Done) return std::nullopt;
    // Close any shift state the code page keeps.
    char buffer[16];
    char* end = buffer;
    std::size_t left = sizeof buffer;
    iconv(converter, nullptr, nullptr, &end, &left);
    out.append(buffer, static_cast<std::size_t>(end - buffer));
    return out;
}

}  // namespace Norvane::Shapefile
