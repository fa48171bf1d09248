// GCC 12 with the sanitizers takes the scripted answers' variant for uninitialized once inlined.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <gtest/gtest.h>

#include "data_layer/domain_layer_fixtures.h"

using namespace domain_test;
using Data::Domain::DomainDataTools;
using Norvane::VaultixFacade::ScriptedPresenter;

namespace {

constexpr int kJunction = TypeId(NetworkElementType::Junction);
constexpr int kTank = TypeId(NetworkElementType::Tank);
constexpr int kPipe = TypeId(NetworkElementType::Pipe);

Norvane::Support::Pair<std::vector<int>, std::int32_t> parse(DomainModel& model, const std::string& path) {
    Norvane::Support::Pair<std::vector<int>, std::int32_t> parsed{{}, -1};
    DomainDataTools::ParseDomainPath(model, path, parsed.First, parsed.Second);
    return parsed;
}

}  // namespace

TEST(DomainPaths, TypesMatchInAnyLetterCaseAndSetsExactly) {
    Town town;
    using Parsed = Norvane::Support::Pair<std::vector<int>, std::int32_t>;
    EXPECT_EQ(parse(*town.model, "jUNCTION\\All Elements"), (Parsed{{kJunction}, 0}));
    EXPECT_EQ(parse(*town.model, "Pipe/North"), (Parsed{{kPipe}, town.north}));
    EXPECT_EQ(parse(*town.model, "Pipe/north"), (Parsed{{kPipe}, 0}));  // no set of that exact label
    EXPECT_EQ(parse(*town.model, "Junction\\Tank/All Elements"), (Parsed{{kJunction, kTank}, 0}));
    EXPECT_EQ(parse(*town.model, "Nothing\\All Elements"), (Parsed{{}, 0}));
}

TEST(DomainDataTools, OpenLayersOfTheActiveModelOrOfThePromptsLastChoice) {
    Town town;
    NoRegistry registry;
    ScriptedPresenter presenter{ScriptedPresenter::Answer::Choice(1), ScriptedPresenter::Answer::Cancel()};
    const auto presenters = Data::PromptPresenters::Of(presenter);
    Data::StandardDataTools tools(town.library, registry, &presenters);

    EXPECT_TRUE(tools.LayerExists("junction\\All Elements"));
    EXPECT_EQ(tools.OpenLayer("Node/All Elements")->FeatureCount(), 5);

    const DomainElementManagers managers{town.model->DomainElementManager(kPipe)};
    const auto chosen = tools.OpenWithDialogPrompting(0, "Pick pipes", "", {}, &managers);
    EXPECT_EQ(chosen, "Pipe\\North");
    const auto& form = std::get<Norvane::VaultixFacade::ListChoiceForm>(presenter.History().front());
    EXPECT_EQ(form.Title(), "Pick pipes");

    // The chosen text opens the chosen elements even once the model is closed.
    town.library.ActiveDomainDataSet = nullptr;
    EXPECT_TRUE(tools.LayerExists(*chosen));
    auto pipes = tools.OpenLayer(*chosen);
    EXPECT_EQ(pipes->Name(), "Pipe\\North");
    EXPECT_EQ(pipes->FeatureCount(), 2);

    EXPECT_EQ(tools.OpenWithDialogPrompting(0, "Pick", "", {}, &managers), "");  // cancelled
    EXPECT_TRUE(tools.LayerExists(*chosen));  // the last accepted choice stays

    // The data set of model-element layers.
    town.library.ActiveDomainDataSet = town.model.get();
    Data::StandardDataSet set(&town.library);
    EXPECT_EQ(set.DataLayer("Tank\\All Elements")->Name(), "Tank\\All Elements");
    EXPECT_TRUE(set.DataLayers().empty());
    EXPECT_TRUE(set.DataLayerNames().empty());
    EXPECT_EQ(set.LengthUnit(), Norvane::Support::LengthUnit::Foot);
    EXPECT_THROW(set.DataLayer("missing.SHP"), Norvane::Support::FileNotFoundException);
}
