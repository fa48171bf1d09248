#include "progress_bar.h"

namespace AllotrixApp {

namespace {
constexpr int kWidth = 30;
}

ProgressBar::ProgressBar(std::FILE* out, bool enabled, std::string noun)
    : m_out(out), m_enabled(enabled), m_noun(std::move(noun)) {}

ProgressBar::~ProgressBar() { Finish(); }

void ProgressBar::Update(std::size_t done, std::size_t total) {
    if (!m_enabled || total == 0) return;
    const int percent = static_cast<int>(done * 100 / total);
    if (percent == m_lastPercent) return;
    m_lastPercent = percent;
    const int filled = percent * kWidth / 100;
    std::fprintf(m_out, "\r[%s%s] %3d%% %zu/%zu %s", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), ' ').c_str(), percent, done, total,
                 m_noun.c_str());
    std::fflush(m_out);
    m_drawn = true;
}

void ProgressBar::Finish() {
    if (!m_drawn) return;
    std::fprintf(m_out, "\r\033[K");
    std::fflush(m_out);
    m_drawn = false;
}

}  // namespace AllotrixApp
