#include "reporter.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>

namespace tarvo::cli {

namespace {

using json = nlohmann::ordered_json;
using SteadyClock = std::chrono::steady_clock;

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kBarWidth = 24;
constexpr size_t kLineWidth = 79;

std::string Duration(double seconds) {
    const long total = long(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

void Emit(std::ostream& out, const json& event) {
    out << event.dump(-1, ' ', false, json::error_handler_t::replace) << '\n';
    out.flush();
}

}  // namespace

std::string FormatProgress(int64_t done, int64_t total, double seconds, int retries) {
    const double fraction = total > 0 ? std::clamp(double(done) / double(total), 0.0, 1.0) : 0.0;
    const int filled = int(fraction * kBarWidth);
    std::string line(1, '[');
    line.append(size_t(filled), '#').append(size_t(kBarWidth - filled), '-').append(1, ']');
    char numbers[128];
    std::snprintf(numbers, sizeof numbers, " %3d%% %lld/%lld bytes", int(fraction * 100),
                  static_cast<long long>(done), static_cast<long long>(total));
    line += numbers;
    if (seconds > 0.2 && done > 0) {
        const double rate = double(done) / seconds;
        std::snprintf(numbers, sizeof numbers, " %.1f kB/s", rate / 1000.0);
        line += numbers;
        if (total > done) line.append(" ").append(Duration(double(total - done) / rate)).append(" left");
    }
    if (retries > 0) line.append(" retries ").append(std::to_string(retries));
    return line;
}

// ---- text ----

TextReporter::TextReporter(Language language, std::ostream& out, std::ostream& err, bool quiet,
                           bool progressBar)
    : m_language(language), m_out(out), m_err(err), m_quiet(quiet),
      m_progressBar(progressBar && !quiet) {}

void TextReporter::ClearBar() {
    if (!m_barShown) return;
    m_err << '\r' << std::string(kLineWidth, ' ') << '\r';
    m_err.flush();
    m_barShown = false;
}

void TextReporter::DrawBar(bool force) {
    if (!m_progressBar) return;
    const auto now = SteadyClock::now();
    if (!force && m_barShown && now - m_lastDraw < kRedrawInterval) return;
    m_lastDraw = now;
    const double seconds = std::chrono::duration<double>(now - m_firstProgress).count();
    std::string line = FormatProgress(m_done, m_total, seconds, m_retries);
    line.resize(std::min(line.size(), kLineWidth));
    m_err << '\r' << line;
    m_err.flush();
    m_barShown = true;
}

void TextReporter::OnStatus(int stringId) {
    m_lastStatus = stringId;
    if (m_quiet) return;
    ClearBar();
    m_out << LoadText(stringId, m_language) << std::endl;
}

void TextReporter::OnErrors(int count) {
    m_retries = count;
    if (m_done > 0) DrawBar(false);
}

void TextReporter::OnProgress(int64_t bytes) {
    if (m_done == 0) m_firstProgress = SteadyClock::now();
    m_done = bytes;
    m_retries = 0;
    DrawBar(m_total > 0 && bytes >= m_total);
}

void TextReporter::OnDone(bool success) {
    if (m_barShown) {
        DrawBar(true);
        m_err << '\n';
        m_barShown = false;
    }
    if (!success && m_quiet && m_lastStatus != 0)
        m_err << LoadText(m_lastStatus, m_language) << std::endl;
}

void TextReporter::PortFound(const std::string& name) { m_out << name << std::endl; }

void TextReporter::RebootSent() {
    if (!m_quiet) m_out << "Reboot line sent." << std::endl;
}

void TextReporter::Error(const std::string& text) {
    ClearBar();
    m_err << "tarvomgr: " << text << std::endl;
}

// ---- JSON ----

void JsonReporter::OnStatus(int stringId) {
    Emit(m_out, {{"event", "status"}, {"id", stringId}, {"text", LoadText(stringId, m_language)}});
}

void JsonReporter::OnErrors(int count) { Emit(m_out, {{"event", "errors"}, {"count", count}}); }

void JsonReporter::OnProgress(int64_t bytes) {
    Emit(m_out, {{"event", "progress"}, {"bytes", bytes}, {"total", m_total}});
}

void JsonReporter::OnSize(int64_t bytes) {
    m_total = bytes;
    Emit(m_out, {{"event", "size"}, {"bytes", bytes}});
}

void JsonReporter::OnDone(bool success) { Emit(m_out, {{"event", "done"}, {"success", success}}); }

void JsonReporter::PortFound(const std::string& name) {
    Emit(m_out, {{"event", "port"}, {"name", name}});
}

void JsonReporter::RebootSent() { Emit(m_out, {{"event", "reboot"}}); }

void JsonReporter::Error(const std::string& text) {
    Emit(m_out, {{"event", "error"}, {"message", text}});
}

}  // namespace tarvo::cli
