// The two dialogs shown by the terminal presenter in a real terminal: a tmux
// pane whose terminal this test reads and writes, while a second thread
// plays the user, reading the screen and typing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "data_layer/domain_layer_fixtures.h"

using namespace domain_test;
using namespace std::chrono_literals;

namespace {

// The output of a shell command, or nothing when it fails.
std::optional<std::string> run(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string output;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    return ::pclose(pipe) == 0 ? std::optional(output) : std::nullopt;
}

// A detached tmux session on a server of its own, running a process that
// never reads its terminal, so that the test is the terminal's only reader.
class TmuxPane {
public:
    TmuxPane() : m_tmux("tmux -L allotrix-dialogs-" + std::to_string(::getpid()) + " ") {
        m_started = run(m_tmux + "new-session -d -x 100 -y 40 -s dialogs 'sleep 120'").has_value();
        if (const auto tty = m_started ? run(m_tmux + "display-message -p -t dialogs '#{pane_tty}'") : std::nullopt)
            m_tty = tty->substr(0, tty->find('\n'));
    }
    ~TmuxPane() { Close(); }
    // Ends the session: the terminal hangs up, so a read on it ends.
    void Close() {
        if (m_started) run(m_tmux + "kill-server");
        m_started = false;
    }
    const std::string& Tty() const { return m_tty; }
    std::string Screen() const { return run(m_tmux + "capture-pane -p -t dialogs").value_or(""); }
    void Type(const std::string& text) const { run(m_tmux + "send-keys -t dialogs '" + text + "' Enter"); }
    // Waits until the screen shows `text` (the screen ends its lines without
    // their trailing blanks); false after a few seconds.
    bool WaitFor(const std::string& text) const {
        for (int i = 0; i < 200; ++i, std::this_thread::sleep_for(25ms))
            if (Screen().find(text) != std::string::npos) return true;
        return false;
    }

private:
    std::string m_tmux;
    bool m_started = false;
    std::string m_tty;
};

}  // namespace

TEST(TerminalDialogs, ShowNumberedListsAndReadTheChoiceInARealTerminal) {
    if (!run("command -v tmux")) GTEST_SKIP() << "tmux is not installed";
    TmuxPane pane;
    ASSERT_FALSE(pane.Tty().empty()) << "tmux could not start a session";
    std::ifstream keyboard(pane.Tty());
    std::ofstream screen(pane.Tty());
    ASSERT_TRUE(keyboard && screen);

    // The user: answers wrongly once, then picks junctions of set S, then metres.
    std::vector<std::string> seen;
    std::thread user([&] {
        const auto answer = [&](const std::string& shown, const std::string& keys) {
            if (!pane.WaitFor(shown)) return pane.Close(), false;  // end the test rather than hang
            seen.push_back(pane.Screen());
            pane.Type(keys);
            return true;
        };
        answer("Select 1-6, or 0 to cancel:", "seven") && answer("Type a number from 0 to 6.", "4") &&
            answer("OK 1-9, or 0 to cancel:", "7");
    });

    Town town;
    town.library.DisplayLengthUnit = Norvane::Support::LengthUnit::Foot;
    Norvane::VaultixFacade::TerminalPresenter presenter(keyboard, screen);
    NoRegistry registry;
    const auto presenters = Data::PromptPresenters::Of(presenter);
    Data::StandardDataTools tools(town.library, registry, &presenters);
    const DomainElementManagers managers{town.model->DomainElementManager(TypeId(NetworkElementType::Junction)),
                                         town.model->DomainElementManager(TypeId(NetworkElementType::Tank))};
    const auto path = tools.OpenWithDialogPrompting(0, "Nodes for the meters", "", {}, &managers, true);
    NorvaneAllotrixData::ShpUnitPicker picker(town.library.DisplayLengthUnit);
    const auto unit = picker.ShowDialog(presenter);
    user.join();

    EXPECT_EQ(path, "Junction\\North");
    EXPECT_EQ(unit, Norvane::VaultixFacade::DialogResult::OK);
    EXPECT_EQ(picker.LengthUnit().Label(), "m");
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_NE(seen[0].find("Nodes for the meters\nAvailable Selection Sets:\n"
                           "  1) Junction and Tank\\All Elements\n  2) Junction and Tank\\North\n"
                           "  3) Junction\\All Elements\n  4) Junction\\North\n"),
              std::string::npos)
        << seen[0];
    EXPECT_NE(seen[2].find("Shapefile unit\nLengthUnit\n  1) mm\n"), std::string::npos) << seen[2];
    EXPECT_NE(seen[2].find("  4) ft  (current)\n"), std::string::npos) << seen[2];
}
