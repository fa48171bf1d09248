#include "host/shapefile/shapelib_hooks.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace Norvane::Shapefile::Detail {
namespace {

// "@<hex address>@shape.<ext>": the provider's address, then a base name
// without dots or slashes so that shapelib's extension handling keeps it.
constexpr char kMarker = '@';

HookStream* streamOf(SAFile file) { return reinterpret_cast<HookStream*>(file); }

StreamProvider* providerIn(std::string_view name, std::string_view& extension) {
    if (name.size() < 3 || name.front() != kMarker) return nullptr;
    const std::size_t end = name.find(kMarker, 1);
    const std::size_t dot = name.rfind('.');
    if (end == std::string_view::npos || dot == std::string_view::npos || dot < end) return nullptr;
    std::uintptr_t address = 0;
    const auto parsed = std::from_chars(name.data() + 1, name.data() + end, address, 16);
    if (parsed.ec != std::errc() || parsed.ptr != name.data() + end) return nullptr;
    extension = name.substr(dot + 1);
    return reinterpret_cast<StreamProvider*>(address);
}

SAFile hookOpen(const char* fileName, const char* access) {
    std::string_view extension;
    StreamProvider* provider = providerIn(fileName, extension);
    if (!provider) return nullptr;
    std::string lower(extension);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return reinterpret_cast<SAFile>(provider->Open(lower, access).release());
}

SAOffset hookRead(void* buffer, SAOffset size, SAOffset count, SAFile file) {
    if (size == 0 || count > std::numeric_limits<SAOffset>::max() / size) return 0;
    return streamOf(file)->Read(buffer, size * count) / size;
}

SAOffset hookWrite(void* buffer, SAOffset size, SAOffset count, SAFile file) {
    if (size == 0 || count > std::numeric_limits<SAOffset>::max() / size) return 0;
    return streamOf(file)->Write(buffer, size * count) / size;
}

SAOffset hookSeek(SAFile file, SAOffset offset, int whence) {
    // shapelib passes offsets as unsigned; a backward relative seek arrives
    // as its two's complement.
    return streamOf(file)->Seek(static_cast<std::int64_t>(offset), whence) ? 0 : static_cast<SAOffset>(-1);
}

SAOffset hookTell(SAFile file) { return streamOf(file)->Tell(); }

int hookFlush(SAFile file) { return streamOf(file)->Flush() ? 0 : -1; }

int hookClose(SAFile file) {
    HookStream* stream = streamOf(file);
    const bool closed = stream->Close();
    delete stream;
    return closed ? 0 : -1;
}

int hookRemove(const char*) { return -1; }  // the providers never let shapelib delete files

// shapelib reports through its return values as well; the callers turn those
// into errors naming the file, so the text itself is not needed.
void hookError(const char*) {}

double hookAtof(const char* text) { return std::strtod(text, nullptr); }

}  // namespace

ProviderHooks HooksFor(StreamProvider& provider) {
    ProviderHooks result{};
    result.hooks.FOpen = hookOpen;
    result.hooks.FRead = hookRead;
    result.hooks.FWrite = hookWrite;
    result.hooks.FSeek = hookSeek;
    result.hooks.FTell = hookTell;
    result.hooks.FFlush = hookFlush;
    result.hooks.FClose = hookClose;
    result.hooks.Remove = hookRemove;
    result.hooks.Error = hookError;
    result.hooks.Atof = hookAtof;
    char address[2 * sizeof(std::uintptr_t) + 1] = {};
    const auto printed = std::to_chars(address, address + sizeof address - 1,
                                       reinterpret_cast<std::uintptr_t>(&provider), 16);
    result.name = kMarker + std::string(address, printed.ptr) + kMarker + "shape";
    return result;
}

}  // namespace Norvane::Shapefile::Detail
