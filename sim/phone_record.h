// What the simulated phone keeps of a session: the files the host stores on
// it, under their announced names, and a log of everything it received, one
// JSON object per line, flushed as written so a test can follow it.
#pragma once

#include "phone_logic.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <string>

namespace tarvo::sim {

class PhoneRecord final : public PhoneListener {
public:
    // An empty store folder keeps received files nowhere; an empty log path logs nothing.
    PhoneRecord(std::filesystem::path storeDir, const std::filesystem::path& logPath);
    bool LogOpen() const { return m_log.is_open(); }

    void OnLine(const std::string& text) override;
    std::optional<std::string> OnFile(const std::string& name,
                                      const std::vector<uint8_t>& data) override;
    void OnReboot() override;
    void OnUploadEnd(const std::string& name, size_t bytes, bool complete) override;
    void OnHostCancel() override;
    void OnHostClosed();

private:
    void Log(const nlohmann::ordered_json& event);
    std::string StoreFile(const std::string& name, const std::vector<uint8_t>& data);

    std::filesystem::path m_storeDir;
    std::ofstream m_log;
    bool m_logging = false;
};

// Announced names come from the host: only a plain file name is stored.
bool IsPlainFileName(const std::string& name);

}  // namespace tarvo::sim
