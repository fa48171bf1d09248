// GCC 12 with the sanitizers takes the scripted answers' variant for uninitialized once inlined.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <gtest/gtest.h>

#include "data_layer/domain_layer_fixtures.h"

using namespace domain_test;
using NorvaneAllotrixData::DomainLayerSelectionDialog;
using NorvaneAllotrixData::ShpUnitPicker;
using Norvane::VaultixFacade::DialogResult;
using Norvane::VaultixFacade::ScriptedPresenter;
using Selection = DomainLayerSelectionDialog::Selection;

namespace {

// Junctions and hydrants (a type of its own under Node), and one set S.
struct HydrantModel {
    HydrantModel(bool withSet = true) {
        DomainModelBuilder builder(Norvane::Support::LengthUnit::Metre);
        hydrant = builder.AddElementType("HydrantElement", "Hydrant", DomainElementShapeType::Point,
                                         TypeId(NetworkElementType::Node));
        const auto j1 = builder.AddNode(junction, "J1", {0, 0});
        model = builder.Build();
        if (withSet) set = model->AddSelectionSet("S", {j1});
        managers = {model->DomainElementManager(junction), model->DomainElementManager(hydrant)};
    }
    std::unique_ptr<DomainModel> model;
    const int junction = TypeId(NetworkElementType::Junction);
    int hydrant = 0;
    std::int32_t set = 0;
    std::vector<IDomainElementManager*> managers;
};

}  // namespace

TEST(LayerSelectionDialog, MultipleModeListsTheTypesTogetherFirst) {
    HydrantModel m;
    DomainLayerSelectionDialog dialog(true);
    dialog.InitializeData(m.managers);
    EXPECT_EQ(dialog.Form().Items(),
              (std::vector<std::string>{"Junction and Hydrant\\All Elements", "Junction and Hydrant\\S",
                                        "Junction\\All Elements", "Junction\\S", "Hydrant\\All Elements", "Hydrant\\S"}));
    EXPECT_FALSE(dialog.IsSelectEnabled());
    dialog.SelectIndex(0);
    EXPECT_TRUE(dialog.IsSelectEnabled());
    EXPECT_EQ(dialog.SelectedText(), "Junction\\Hydrant\\All Elements");
    EXPECT_EQ(dialog.DomainElementTypeIDSelectionSetSelected(), (Selection{{m.junction, m.hydrant}, 0}));
    dialog.SelectIndex(5);
    EXPECT_EQ(dialog.SelectedText(), "Hydrant\\S");
    EXPECT_EQ(dialog.DomainElementTypeIDSelectionSetSelected(), (Selection{{m.hydrant}, m.set}));

    DomainLayerSelectionDialog multipleOfOne(true);
    multipleOfOne.InitializeData({m.managers.front()});
    EXPECT_EQ(multipleOfOne.Form().Items(), (std::vector<std::string>{"Junction\\All Elements", "Junction\\S"}));
}

TEST(LayerSelectionDialog, OneEntryPerTypeWithoutSetsAndCancelGivesNothing) {
    HydrantModel m(false);
    DomainLayerSelectionDialog single;
    single.InitializeData(m.managers);
    EXPECT_EQ(single.Form().Items(), (std::vector<std::string>{"Junction\\All Elements", "Hydrant\\All Elements"}));
    ScriptedPresenter presenter{ScriptedPresenter::Answer::Choice(1), ScriptedPresenter::Answer::Cancel()};
    EXPECT_EQ(single.ShowDialog(presenter), DialogResult::OK);
    EXPECT_EQ(single.SelectedText(), "Hydrant\\All Elements");
    EXPECT_EQ(single.ShowDialog(presenter), DialogResult::Cancel);
    EXPECT_THROW(single.SelectedText(), Norvane::Support::InvalidOperationException);
}

TEST(ShpUnitPicker, OffersLengthUnitsInTheHostsOrderWithTheDisplayUnitSelected) {
    ShpUnitPicker picker(Norvane::Support::LengthUnit::Foot);
    const auto& form = picker.Form();
    const auto units = Norvane::Support::Unit::AvailableUnitsSorted(Norvane::Support::Dimension::Length);
    ASSERT_EQ(form.Items().size(), units.size());
    for (std::size_t i = 0; i < units.size(); ++i) EXPECT_EQ(form.Items()[i], units[i].Label());
    ASSERT_TRUE(form.SelectedIndex());
    EXPECT_EQ(form.Items()[*form.SelectedIndex()], "ft");

    ScriptedPresenter presenter{ScriptedPresenter::Answer::Cancel(), ScriptedPresenter::Answer::Choice(0)};
    EXPECT_EQ(picker.ShowDialog(presenter), DialogResult::Cancel);
    EXPECT_EQ(form.Items()[*form.SelectedIndex()], "ft");  // still the model's unit
    EXPECT_EQ(picker.ShowDialog(presenter), DialogResult::OK);
    EXPECT_EQ(picker.LengthUnit(), units.front());
}
