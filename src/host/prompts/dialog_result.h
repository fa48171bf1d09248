// How a modal prompt ended, and the buttons a message box offers.
#pragma once

#include <string_view>

namespace Norvane::VaultixFacade {

enum class DialogResult { None, OK, Cancel, Abort, Retry, Ignore, Yes, No };

// The caption of the button that ends a prompt with `result` ("OK", "Yes", ...).
constexpr std::string_view ButtonText(DialogResult result) {
    switch (result) {
        case DialogResult::OK: return "OK";
        case DialogResult::Cancel: return "Cancel";
        case DialogResult::Abort: return "Abort";
        case DialogResult::Retry: return "Retry";
        case DialogResult::Ignore: return "Ignore";
        case DialogResult::Yes: return "Yes";
        case DialogResult::No: return "No";
        case DialogResult::None: break;
    }
    return "";
}

}  // namespace Norvane::VaultixFacade
