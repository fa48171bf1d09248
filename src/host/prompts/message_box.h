// A modal message: caption, text, buttons and icon; the button pressed is
// the result.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/prompts/dialog_result.h"

namespace Norvane::VaultixFacade {

enum class MessageBoxButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MessageBoxIcon { None, Information, Warning, Error, Question };

class MessageBoxModel;

class IMessageBoxPresenter {
public:
    virtual ~IMessageBoxPresenter() = default;
    // The button the user pressed; nothing when they closed the box without one.
    virtual std::optional<DialogResult> ShowMessageBox(const MessageBoxModel& box) = 0;
};

class MessageBoxModel {
public:
    MessageBoxModel(std::string text, std::string caption, MessageBoxButtons buttons = MessageBoxButtons::OK,
                    MessageBoxIcon icon = MessageBoxIcon::None);

    const std::string& Text() const { return m_text; }
    const std::string& Caption() const { return m_caption; }
    MessageBoxButtons Buttons() const { return m_buttons; }
    MessageBoxIcon Icon() const { return m_icon; }
    // The results of the buttons, in the order they are shown.
    std::vector<DialogResult> Choices() const;
    // What closing the box without pressing a button means: Cancel when there
    // is a Cancel button, otherwise the answer that changes least (OK, No,
    // Abort).
    DialogResult DismissResult() const;

    // Shows the box and returns the button pressed. A presenter answer that
    // is none of the box's buttons counts as closing the box.
    DialogResult Show(IMessageBoxPresenter& presenter) const;

private:
    std::string m_text;
    std::string m_caption;
    MessageBoxButtons m_buttons;
    MessageBoxIcon m_icon;
};

// The usual one-call form: MessageBox.Show(text, caption, buttons, icon).
DialogResult ShowMessageBox(IMessageBoxPresenter& presenter, std::string text, std::string caption,
                            MessageBoxButtons buttons = MessageBoxButtons::OK,
                            MessageBoxIcon icon = MessageBoxIcon::None);

}  // namespace Norvane::VaultixFacade
