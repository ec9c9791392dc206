// How tarvomgr tells what happens: status texts from the string table and a
// progress bar for a person, or one JSON event per line for a script.
#pragma once

#include "link/operation.h"
#include "res/string_table.h"

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace tarvo::cli {

class Reporter : public OperationObserver {
public:
    // The size of the file being sent (a receive learns it from OnSize).
    virtual void SetTotal(int64_t bytes) = 0;
    virtual void PortFound(const std::string& name) = 0;
    virtual void RebootSent() = 0;
    // The tool's own failure messages (usage, port, files, stops).
    virtual void Error(const std::string& text) = 0;
};

class TextReporter final : public Reporter {
public:
    // `progressBar`: draw the bar on `err` (only sensible on a terminal).
    TextReporter(Language language, std::ostream& out, std::ostream& err, bool quiet,
                 bool progressBar);

    void OnStatus(int stringId) override;
    void OnErrors(int count) override;
    void OnProgress(int64_t bytes) override;
    void OnSize(int64_t bytes) override { m_total = bytes; }
    void OnDone(bool success) override;
    void OnHideCancel() override {}
    void SetTotal(int64_t bytes) override { m_total = bytes; }
    void PortFound(const std::string& name) override;
    void RebootSent() override;
    void Error(const std::string& text) override;

private:
    void DrawBar(bool force);
    void ClearBar();

    Language m_language;
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_quiet;
    bool m_progressBar;
    int64_t m_total = 0;
    int64_t m_done = 0;
    int m_retries = 0;
    int m_lastStatus = 0;
    bool m_barShown = false;
    std::chrono::steady_clock::time_point m_firstProgress;
    std::chrono::steady_clock::time_point m_lastDraw;
};

class JsonReporter final : public Reporter {
public:
    JsonReporter(Language language, std::ostream& out) : m_language(language), m_out(out) {}

    void OnStatus(int stringId) override;
    void OnErrors(int count) override;
    void OnProgress(int64_t bytes) override;
    void OnSize(int64_t bytes) override;
    void OnDone(bool success) override;
    void OnHideCancel() override {}
    void SetTotal(int64_t bytes) override { m_total = bytes; }
    void PortFound(const std::string& name) override;
    void RebootSent() override;
    void Error(const std::string& text) override;

private:
    Language m_language;
    std::ostream& m_out;
    int64_t m_total = 0;
};

// One line of the progress bar: bar, percent, bytes, speed and time left.
std::string FormatProgress(int64_t done, int64_t total, double seconds, int retries);

}  // namespace tarvo::cli
