// What the simulated phone keeps: files under their announced names only
// inside its store folder, and a log a test can read line by line.
#include "sim/phone_record.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

namespace tarvo::sim {
namespace {

namespace fs = std::filesystem;

struct TempDir {
    TempDir() : path(fs::temp_directory_path() / ("phone-record-" + std::to_string(::getpid()))) {
        fs::create_directories(path / "store");
    }
    ~TempDir() { fs::remove_all(path); }
    fs::path path;
};

std::vector<nlohmann::json> ReadLog(const fs::path& log) {
    std::ifstream in(log);
    std::vector<nlohmann::json> events;
    for (std::string line; std::getline(in, line);) events.push_back(nlohmann::json::parse(line));
    return events;
}

TEST(PhoneRecord, StoresUnderTheAnnouncedNameAndLogsIt) {
    TempDir dir;
    PhoneRecord record(dir.path / "store", dir.path / "log.jsonl");
    const std::vector<uint8_t> data{'a', 0x1A, 0x18};
    auto stored = record.OnFile("mcascfg.txt", data);
    ASSERT_TRUE(stored);
    EXPECT_EQ(fs::file_size(dir.path / "store" / "mcascfg.txt"), 3u);
    record.OnLine("download mcascfg.txt 3");
    auto events = ReadLog(dir.path / "log.jsonl");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["event"], "file");
    EXPECT_EQ(events[0]["length"], 3);
    EXPECT_EQ(events[0]["path"], *stored);
    EXPECT_EQ(events[1]["text"], "download mcascfg.txt 3");
}

TEST(PhoneRecord, NamesThatLeaveTheStoreAreRefused) {
    TempDir dir;
    PhoneRecord record(dir.path / "store", dir.path / "log.jsonl");
    for (const char* name : {"../escape.txt", "a/b.txt", "..", "."}) {
        EXPECT_FALSE(record.OnFile(name, {1, 2, 3})) << name;
    }
    EXPECT_FALSE(fs::exists(dir.path / "escape.txt"));
    EXPECT_TRUE(fs::is_empty(dir.path / "store"));
}

}  // namespace
}  // namespace tarvo::sim
