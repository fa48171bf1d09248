// A progress bar on a terminal: redrawn in place at most once per percent,
// and wiped when the work ends, so that nothing of it stays in the output.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace AllotrixApp {

class ProgressBar {
public:
    // Draws on `out` only when `enabled` (the stream is a terminal).
    ProgressBar(std::FILE* out, bool enabled, std::string noun);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void Update(std::size_t done, std::size_t total);
    void Finish();

private:
    std::FILE* m_out;
    bool m_enabled;
    bool m_drawn = false;
    int m_lastPercent = -1;
    std::string m_noun;
};

}  // namespace AllotrixApp
