#include "layer_choices.h"

#include <sstream>

#include "data/data.h"
#include "host/domain/inp/inp_model.h"
#include "host/prompts/terminal_presenter.h"
#include "host/registry/default_registry_store.h"

namespace AllotrixApp {

using Norvane::Allotrix::Calculations::AllotrixLibrary;
using Norvane::Allotrix::Calculations::Data::PromptPresenters;
using Norvane::Allotrix::Calculations::Data::StandardDataTools;

namespace {

// Remembers the entries of the list it is shown and chooses none.
class ListingPresenter final : public Norvane::VaultixFacade::IListChoicePresenter {
public:
    std::optional<std::size_t> ChooseFromList(const Norvane::VaultixFacade::ListChoiceForm& form) override {
        items = form.Items();
        return std::nullopt;
    }
    std::vector<std::string> items;
};

// Opens the dialog over the managers of `types` with `lists` showing it.
std::optional<std::string> showDialog(Norvane::Domain::InpModel& model, const std::vector<std::string>& types,
                                      Norvane::VaultixFacade::IListChoicePresenter& lists,
                                      Norvane::VaultixFacade::TerminalPresenter& others) {
    AllotrixLibrary library{&model.Model(), model.LengthUnit()};
    const auto registry = Norvane::Support::OpenDefaultRegistryStore();
    const PromptPresenters presenters{others, others, lists};
    StandardDataTools tools(library, *registry, &presenters);
    Norvane::Allotrix::Calculations::DomainElementManagers managers;
    for (const std::string& type : types) managers.push_back(model.Model().DomainElementManager(type));
    const auto chosen = tools.OpenWithDialogPrompting(0, "Pick the model elements to allocate onto", "", {}, &managers);
    return chosen && !chosen->empty() ? chosen : std::nullopt;
}

}  // namespace

std::vector<std::string> ListLayerChoices(Norvane::Domain::InpModel& model) {
    ListingPresenter listing;
    std::istringstream none;
    std::ostringstream ignored;
    Norvane::VaultixFacade::TerminalPresenter others(none, ignored);
    showDialog(model, {"Junction", "Pipe"}, listing, others);
    return listing.items;
}

std::optional<std::string> AskForLayer(Norvane::Domain::InpModel& model, const std::string& elementType,
                                       std::istream& in, std::ostream& out) {
    Norvane::VaultixFacade::TerminalPresenter terminal(in, out);
    return showDialog(model, {elementType}, terminal, terminal);
}

}  // namespace AllotrixApp
