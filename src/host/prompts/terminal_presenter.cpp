#include "host/prompts/terminal_presenter.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace Norvane::VaultixFacade {
namespace {

std::string Trimmed(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return std::string(text);
}

std::string Lowered(std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A whole-line decimal number, nothing otherwise.
std::optional<std::size_t> Number(const std::string& text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::string_view IconTag(MessageBoxIcon icon) {
    switch (icon) {
        case MessageBoxIcon::Information: return "[info] ";
        case MessageBoxIcon::Warning: return "[warning] ";
        case MessageBoxIcon::Error: return "[error] ";
        case MessageBoxIcon::Question: return "[?] ";
        case MessageBoxIcon::None: break;
    }
    return "";
}

std::string FilterLine(const std::vector<FileType>& types) {
    std::string line;
    for (const FileType& type : types) {
        if (!line.empty()) line += ", ";
        line += type.Description;
    }
    return line;
}

}  // namespace

std::optional<std::string> TerminalPresenter::Ask(const std::string& prompt) {
    m_out << prompt << std::flush;
    std::string line;
    if (!std::getline(m_in, line)) {
        m_out << '\n';
        m_in.clear();
        return std::nullopt;
    }
    return Trimmed(line);
}

std::optional<std::string> TerminalPresenter::AskForPath(const FilePromptView& view) {
    if (!view.Notice.empty()) m_out << view.Notice << '\n';
    const std::string types = FilterLine(view.Types);
    m_out << view.Title << (types.empty() ? "" : " (" + types + ")") << '\n';
    while (const std::optional<std::string> line = Ask("File path, end of input to cancel: ")) {
        std::string path = *line;
        if (path.size() >= 2 && (path.front() == '"' || path.front() == '\'') && path.back() == path.front())
            path = path.substr(1, path.size() - 2);
        if (!path.empty()) return path;
    }
    return std::nullopt;
}

bool TerminalPresenter::Confirm(const std::string& question) {
    while (const std::optional<std::string> line = Ask(question + " [y/n] ")) {
        const std::string answer = Lowered(*line);
        if (answer == "y" || answer == "yes") return true;
        if (answer == "n" || answer == "no") return false;
    }
    return false;
}

std::optional<DialogResult> TerminalPresenter::ShowMessageBox(const MessageBoxModel& box) {
    m_out << IconTag(box.Icon()) << box.Caption() << ": " << box.Text() << '\n';
    const std::vector<DialogResult> choices = box.Choices();
    if (choices.size() == 1) return choices.front();
    std::string prompt;
    for (std::size_t i = 0; i < choices.size(); ++i)
        prompt += std::to_string(i + 1) + ") " + std::string(ButtonText(choices[i])) + "  ";
    while (const std::optional<std::string> line = Ask(prompt)) {
        if (const auto number = Number(*line); number && *number >= 1 && *number <= choices.size())
            return choices[*number - 1];
        for (const DialogResult choice : choices)
            if (Lowered(*line) == Lowered(std::string(ButtonText(choice)))) return choice;
        m_out << "Type a number from 1 to " << choices.size() << " or a button's caption.\n";
    }
    return std::nullopt;
}

std::optional<std::size_t> TerminalPresenter::ChooseFromList(const ListChoiceForm& form) {
    m_out << form.Title() << '\n' << form.Label() << '\n';
    const std::vector<std::string>& items = form.Items();
    if (items.empty()) {
        m_out << "  (none)\n";
        return std::nullopt;
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        m_out << "  " << i + 1 << ") " << items[i] << (form.SelectedIndex() == i ? "  (current)" : "") << '\n';
    const std::string prompt = form.SelectText() + " 1-" + std::to_string(items.size()) + ", or 0 to " +
                               Lowered(form.CancelText()) + ": ";
    while (const std::optional<std::string> line = Ask(prompt)) {
        const std::optional<std::size_t> number = Number(*line);
        if (number == 0u) return std::nullopt;
        if (number && *number <= items.size()) return *number - 1;
        m_out << "Type a number from 0 to " << items.size() << ".\n";
    }
    return std::nullopt;
}

}  // namespace Norvane::VaultixFacade
