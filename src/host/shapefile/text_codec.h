// dBASE text to and from UTF-8. The code page comes from the .cpg file, else
// from the language-driver byte of the .dbf header, else Windows-1252.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Norvane::Shapefile {

// The iconv name of the code page a .dbf's text is in.
std::string CodePageOf(const std::optional<std::string>& cpgText, std::uint8_t languageDriver);

// Decodes text of one code page into UTF-8. Bytes the code page does not
// define, and broken UTF-8, become U+FFFD, so the result is always valid UTF-8.
class TextDecoder {
public:
    explicit TextDecoder(const std::string& codePage);
    ~TextDecoder();
    TextDecoder(TextDecoder&&) noexcept;
    TextDecoder& operator=(TextDecoder&&) noexcept;

    std::string Decode(std::string_view text) const;
    bool IsUtf8() const { return m_kind == Kind::Utf8; }

private:
    enum class Kind { Utf8, SingleByte, MultiByte };
    std::string decodeMultiByte(std::string_view text) const;

    Kind m_kind = Kind::Utf8;
    std::array<std::string, 128> m_upperHalf;  // single-byte code pages: bytes 0x80..0xFF
    void* m_converter = nullptr;                // iconv descriptor of a multi-byte code page
};

// Encodes UTF-8 into one code page; nullopt when the text has a character the
// code page lacks.
class TextEncoder {
public:
    explicit TextEncoder(const std::string& codePage);
    ~TextEncoder();
    TextEncoder(TextEncoder&&) noexcept;
    TextEncoder& operator=(TextEncoder&&) noexcept;

    std::optional<std::string> Encode(std::string_view utf8) const;
    // True when Encode would return `utf8` itself: valid UTF-8 that is ASCII
    // or meant for a UTF-8 file. Lets a writer skip the copy.
    bool KeepsAsIs(std::string_view utf8) const;
    const std::string& CodePage() const { return m_codePage; }

private:
    std::string m_codePage;
    bool m_utf8 = false;
    void* m_converter = nullptr;  // null for UTF-8
};

// True when `text` is valid UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace Norvane::Shapefile
