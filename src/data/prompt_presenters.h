// Whatever shows the data layer's prompts: file prompts, message boxes and
// list dialogs. A terminal presenter or a scripted one usually serves all
// three.
#pragma once

#include "host/prompts/file_prompt_presenter.h"
#include "host/prompts/list_choice_form.h"
#include "host/prompts/message_box.h"

namespace Norvane::Allotrix::Calculations::Data {

struct PromptPresenters {
    VaultixFacade::IFilePromptPresenter& Files;
    VaultixFacade::IMessageBoxPresenter& Messages;
    VaultixFacade::IListChoicePresenter& Lists;

    template <class Presenter>
    static PromptPresenters Of(Presenter& presenter) {
        return {presenter, presenter, presenter};
    }
};

}  // namespace Norvane::Allotrix::Calculations::Data
