// The registry file store: what a user may write into the file, and where
// the file is found.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <unistd.h>

#include "host/host.h"

namespace {

using namespace Norvane::Support;

constexpr const char* kThiessen = "SOFTWARE\\Korvex\\Fenmark\\Components\\ThiessenPolygons";
constexpr const char* kRatio = "MaxPolygonOffsetLengthRatio";

constexpr const char* kExport =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "; written by hand\r\n"
    "[HKEY_CURRENT_USER\\SOFTWARE\\Korvex\\Fenmark\\Components\\ThiessenPolygons]\r\n"
    "\"MaxPolygonOffsetLengthRatio\"=dword:000002ee\r\n"
    "\"Short\" = dword:7\r\n"
    "\"TooLong\"=dword:123456789\r\n"
    "\"NotHex\"=dword:12g4\r\n"
    "\"Empty\"=dword:\r\n"
    "\"Text\"=\"750\"\r\n"
    "\"Little\"=hex(4):ee,02,00,\\\r\n"
    "  00\r\n"
    "\"FiveBytes\"=hex(4):ee,02,00,00,00\r\n"
    "\"Say \\\"hi\\\"\"=dword:00000001\r\n"
    "@=dword:00000002\r\n"
    "\"Later\"=dword:00000001\r\n"
    "\"Later\"=\"now text\"\r\n"
    "\"Gone\"=dword:00000001\r\n"
    "\"Gone\"=-\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n"
    "\"Machine\"=dword:00000001\r\n"
    "[HKCU\\Software\\A]\r\n"
    "\"v\"=dword:1\r\n"
    "[HKCU\\Software\\A\\B]\r\n"
    "\"v\"=dword:2\r\n"
    "[HKCU\\Software\\AB]\r\n"
    "\"v\"=dword:3\r\n"
    "[-HKEY_CURRENT_USER\\Software\\A]\r\n"
    "\"ignored after a deletion\"=dword:4\r\n"
    "[HKCU\\Broken\r\n"
    "\"v\"=dword:5\r\n"
    "\"unterminated=dword:6\r\n";

// The same text as the registry editor saves it: UTF-16, low byte first.
std::string AsUtf16(std::string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char c : text) bytes += c, bytes += '\0';
    return bytes;
}

TEST(RegFileStore, ReadsDwordsAndTreatsEverythingElseAsAbsent) {
    for (const std::string& file : {std::string(kExport), AsUtf16(kExport), "\xEF\xBB\xBF" + std::string(kExport)}) {
        const RegFileStore store = RegFileStore::FromText(file);
        EXPECT_EQ(store.ReadDword(kThiessen, kRatio), 750u);
        EXPECT_EQ(store.ReadDword("hkey_current_user\\software\\korvex\\fenmark\\components\\thiessenpolygons\\",
                                  "maxpolygonoffsetlengthratio"),
                  750u);
        EXPECT_EQ(store.ReadDword(kThiessen, "Short"), 7u);
        EXPECT_EQ(store.ReadDword(kThiessen, "Little"), 750u);
        EXPECT_EQ(store.ReadDword(kThiessen, "Say \"hi\""), 1u);
        EXPECT_EQ(store.ReadDword(kThiessen, ""), 2u);
        EXPECT_EQ(store.ReadDword("Software\\AB", "v"), 3u);
        for (const char* absent : {"TooLong", "NotHex", "Empty", "Text", "FiveBytes", "Later", "Gone", "Missing"})
            EXPECT_FALSE(store.ReadDword(kThiessen, absent)) << absent;
        EXPECT_FALSE(store.ReadDword("SOFTWARE\\Other", "Machine"));
        EXPECT_FALSE(store.ReadDword("Software\\A", "v"));
        EXPECT_FALSE(store.ReadDword("Software\\A\\B", "v"));
        EXPECT_FALSE(store.ReadDword("Software\\A", "ignored after a deletion"));
        EXPECT_FALSE(store.ReadDword("Broken", "v"));
    }
    EXPECT_FALSE(RegFileStore().ReadDword(kThiessen, kRatio));
    EXPECT_FALSE(RegFileStore::FromText(std::string("\xFF\xFE\x00\xD8[", 5)).ReadDword(kThiessen, kRatio));
}

TEST(RegFileStore, FindsTheUsersFileAndReadsAMissingOneAsEmpty) {
    std::map<std::string, std::string> env{{"HOME", "/home/u"}};
    const auto lookup = [&](const char* name) -> std::optional<std::string> {
        const auto it = env.find(name);
        return it == env.end() ? std::nullopt : std::optional(it->second);
    };
    EXPECT_EQ(DefaultRegistryFilePath(lookup), "/home/u/.config/allotrix/registry.reg");
    env["XDG_CONFIG_HOME"] = "relative/config";  // ignored, as the convention says
    EXPECT_EQ(DefaultRegistryFilePath(lookup), "/home/u/.config/allotrix/registry.reg");
    env["XDG_CONFIG_HOME"] = "/cfg";
    EXPECT_EQ(DefaultRegistryFilePath(lookup), "/cfg/allotrix/registry.reg");
    env["ALLOTRIX_REGISTRY_FILE"] = "";
    EXPECT_EQ(DefaultRegistryFilePath(lookup), "/cfg/allotrix/registry.reg");

    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("allotrix_registry_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "registry.reg";
    std::ofstream(file, std::ios::binary) << AsUtf16(kExport);
    env["ALLOTRIX_REGISTRY_FILE"] = file.string();
    EXPECT_EQ(OpenDefaultRegistryStore(lookup)->ReadDword(kThiessen, kRatio), 750u);

    env["ALLOTRIX_REGISTRY_FILE"] = (dir / "missing.reg").string();
    EXPECT_FALSE(OpenDefaultRegistryStore(lookup)->ReadDword(kThiessen, kRatio));
    env["ALLOTRIX_REGISTRY_FILE"] = dir.string();  // a directory
    EXPECT_FALSE(OpenDefaultRegistryStore(lookup)->ReadDword(kThiessen, kRatio));
    env.clear();
    EXPECT_FALSE(DefaultRegistryFilePath(lookup));
    EXPECT_FALSE(OpenDefaultRegistryStore(lookup)->ReadDword(kThiessen, kRatio));
    std::filesystem::remove_all(dir);
}

}  // namespace
