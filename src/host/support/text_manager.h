// The texts users read: every message is looked up by key, with the
// placeholders %1 to %9 replaced by the arguments given.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>

namespace Norvane::Support {

class TextManager {
public:
    // The one table of this process: the library's texts and the host's own,
    // compiled in. Immutable, so it may be shared freely.
    static const TextManager& Current();

    // The text of `key` with %1 replaced by the first argument, %2 by the
    // second and so on, in one pass (an argument's own "%2" stays as it is).
    // A placeholder without an argument is left in place; an unknown key
    // gives the key itself, so a missing text still says what was meant.
    std::string Get(std::string_view key, std::initializer_list<std::string_view> arguments = {}) const;
    bool Contains(std::string_view key) const;

    TextManager(const TextManager&) = delete;
    TextManager& operator=(const TextManager&) = delete;

private:
    TextManager();

    std::unordered_map<std::string_view, std::string_view> m_texts;
};

}  // namespace Norvane::Support
