#include "host/prompts/message_box.h"

#include <algorithm>
#include <utility>

namespace Norvane::VaultixFacade {

MessageBoxModel::MessageBoxModel(std::string text, std::string caption, MessageBoxButtons buttons,
                                 MessageBoxIcon icon)
    : m_text(std::move(text)), m_caption(std::move(caption)), m_buttons(buttons), m_icon(icon) {}

std::vector<DialogResult> MessageBoxModel::Choices() const {
    using R = DialogResult;
    switch (m_buttons) {
        case MessageBoxButtons::OK: return {R::OK};
        case MessageBoxButtons::OKCancel: return {R::OK, R::Cancel};
        case MessageBoxButtons::AbortRetryIgnore: return {R::Abort, R::Retry, R::Ignore};
        case MessageBoxButtons::YesNoCancel: return {R::Yes, R::No, R::Cancel};
        case MessageBoxButtons::YesNo: return {R::Yes, R::No};
        case MessageBoxButtons::RetryCancel: return {R::Retry, R::Cancel};
    }
    return {R::OK};
}

DialogResult MessageBoxModel::DismissResult() const {
    const std::vector<DialogResult> choices = Choices();
    if (std::ranges::find(choices, DialogResult::Cancel) != choices.end()) return DialogResult::Cancel;
    if (m_buttons == MessageBoxButtons::YesNo) return DialogResult::No;
    return choices.front();
}

DialogResult MessageBoxModel::Show(IMessageBoxPresenter& presenter) const {
    const std::optional<DialogResult> pressed = presenter.ShowMessageBox(*this);
    const std::vector<DialogResult> choices = Choices();
    if (pressed && std::ranges::find(choices, *pressed) != choices.end()) return *pressed;
    return DismissResult();
}

DialogResult ShowMessageBox(IMessageBoxPresenter& presenter, std::string text, std::string caption,
                            MessageBoxButtons buttons, MessageBoxIcon icon) {
    return MessageBoxModel(std::move(text), std::move(caption), buttons, icon).Show(presenter);
}

}  // namespace Norvane::VaultixFacade
