#include "phone_record.h"

#include <nlohmann/json.hpp>

#include <system_error>

namespace tarvo::sim {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos && name.find('\0') == std::string::npos;
}

PhoneRecord::PhoneRecord(fs::path storeDir, const fs::path& logPath)
    : m_storeDir(std::move(storeDir)) {
    if (logPath.empty()) return;
    m_log.open(logPath, std::ios::app);
    m_logging = true;
}

// Names and lines from the host may hold any bytes: they are logged, not refused.
void PhoneRecord::Log(const json& event) {
    if (!m_logging) return;
    m_log << event.dump(-1, ' ', false, json::error_handler_t::replace) << '\n';
    m_log.flush();
}

void PhoneRecord::OnLine(const std::string& text) {
    Log(json{{"event", "line"}, {"text", text}});
}

// Written beside the target and renamed over it, so a reader never sees half a
// file. Empty when it could not be stored.
std::string PhoneRecord::StoreFile(const std::string& name, const std::vector<uint8_t>& data) {
    const fs::path target = m_storeDir / name;
    const fs::path part = m_storeDir / ("." + name + ".part");
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    out.close();
    std::error_code error;
    if (out) fs::rename(part, target, error);
    if (out && !error) return target.string();
    fs::remove(part, error);
    return {};
}

std::optional<std::string> PhoneRecord::OnFile(const std::string& name,
                                               const std::vector<uint8_t>& data) {
    std::optional<std::string> stored;
    if (IsPlainFileName(name)) stored = m_storeDir.empty() ? std::string() : StoreFile(name, data);
    if (stored && stored->empty() && !m_storeDir.empty()) stored.reset();
    json event{{"event", "file"}, {"name", name}, {"length", data.size()}};
    event["path"] = stored.value_or("");
    if (!stored) event["error"] = "not stored";
    Log(event);
    return stored;
}

void PhoneRecord::OnReboot() { Log(json{{"event", "reboot"}}); }

void PhoneRecord::OnUploadEnd(const std::string& name, size_t bytes, bool complete) {
    Log(json{{"event", "upload"}, {"name", name}, {"length", bytes}, {"complete", complete}});
}

void PhoneRecord::OnHostCancel() { Log(json{{"event", "cancel"}}); }

void PhoneRecord::OnHostClosed() { Log(json{{"event", "close"}}); }

}  // namespace tarvo::sim
