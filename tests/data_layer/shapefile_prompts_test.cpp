// GCC 12 with the sanitizers takes the scripted answers' variant for uninitialized once inlined.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <gtest/gtest.h>

#include <string>

#include "data/data.h"
#include "host/host.h"

using namespace Norvane::Allotrix::Calculations;
using namespace Norvane::VaultixFacade;
using Norvane::Domain::DomainElementShapeType;

namespace {

using NoRegistry = Norvane::Support::EmptyRegistryStore;

std::string fixture(const std::string& name) { return std::string(ALLOTRIX_TEST_DATA) + "/shapefiles/" + name; }

const MessageBoxModel& boxAt(const ScriptedPresenter& presenter, std::size_t index) {
    return std::get<MessageBoxModel>(presenter.History().at(index));
}

}  // namespace

// Wrong shape kinds get the error box and a new prompt; the first accepted
// file of the process gets the unit notice, later ones do not.
TEST(ShapefilePrompts, OpenPromptChecksTheShapeKindAndTellsTheUnitOnce) {
    AllotrixLibrary library;
    library.DisplayLengthUnit = Norvane::Support::LengthUnit::Metre;
    NoRegistry registry;
    ScriptedPresenter presenter{ScriptedPresenter::Answer::Path(fixture("Point.shp")),
                                ScriptedPresenter::Answer::Button(DialogResult::OK),
                                ScriptedPresenter::Answer::Path(fixture("Polygon.shp")),
                                ScriptedPresenter::Answer::Button(DialogResult::OK),
                                ScriptedPresenter::Answer::Path(fixture("Polygon.shp"))};
    const auto presenters = Data::PromptPresenters::Of(presenter);
    Data::StandardDataTools tools(library, registry, &presenters);
    const std::vector<DomainElementShapeType> polygons{DomainElementShapeType::Polygon};

    EXPECT_EQ(tools.OpenWithDialogPrompting(0, "Service areas", "", polygons, nullptr), fixture("Polygon.shp"));
    ASSERT_EQ(presenter.History().size(), 4u);
    EXPECT_EQ(std::get<FilePromptView>(presenter.History()[0]).Types.size(), 1u);
    EXPECT_EQ(boxAt(presenter, 1).Text(), "The file selected is not of the expected shape type.");
    EXPECT_EQ(boxAt(presenter, 1).Icon(), MessageBoxIcon::Error);
    EXPECT_EQ(boxAt(presenter, 1).Caption(), "Allotrix");
    EXPECT_EQ(boxAt(presenter, 3).Text(),
              "Length unit for this Esri Shapefile assumed to be the same as the one used by the model: (m).");
    EXPECT_EQ(boxAt(presenter, 3).Icon(), MessageBoxIcon::Information);

    EXPECT_EQ(tools.OpenWithDialogPrompting(0, "Again", "", polygons, nullptr), fixture("Polygon.shp"));
    EXPECT_EQ(presenter.History().size(), 5u);  // no second notice

    // An empty filter accepts nothing: the user can only cancel.
    presenter.Add(ScriptedPresenter::Answer::Path(fixture("Polygon.shp")));
    presenter.Add(ScriptedPresenter::Answer::Button(DialogResult::OK));
    presenter.Add(ScriptedPresenter::Answer::Cancel());
    EXPECT_FALSE(tools.OpenWithDialogPrompting(0, "", "", {}, nullptr).has_value());
    EXPECT_EQ(boxAt(presenter, 6).Text(), "The file selected is not of the expected shape type.");

    EXPECT_TRUE(tools.LayerExists(fixture("Point.shp")));
    EXPECT_FALSE(tools.LayerExists(fixture("Nowhere.shp")));
    EXPECT_TRUE(Data::StandardDataTools::IsShapefilePath("D:\\data\\PARCELS.shp"));
    EXPECT_TRUE(Data::StandardDataTools::IsShapefilePath("a.shp.bak"));
    EXPECT_FALSE(Data::StandardDataTools::IsShapefilePath("Junction\\All Elements"));
}
