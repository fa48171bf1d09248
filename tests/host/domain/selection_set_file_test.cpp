#include <gtest/gtest.h>

#include "host/host.h"

using namespace Norvane::Domain;
using Norvane::Support::ApplicationException;

namespace {

std::unique_ptr<InpModel> SharedLabels() {
    // Node and link IDs are separate in a network file: "10" is both here.
    return InpModel::Parse("[JUNCTIONS]\n 10 1\n 11 1\n \"J 12\" 1\n[PIPES]\n 10 10 11 1 1 1\n 20 11 \"J 12\" 1 1 1\n", "net.inp");
}

std::vector<std::int32_t> Members(DomainModel& model, std::int32_t set) {
    return model.SelectionSetManager().SelectionSetField(kSelectionSetElementIDsField)->GetValue(set);
}

}  // namespace

TEST(SelectionSetFile, SectionsNameSetsAndTypesPickAmongSharedLabels) {
    const auto network = SharedLabels();
    DomainModel& model = network->Model();
    const auto sets = SelectionSetFile::Parse("\xEF\xBB\xBF; zones\r\n11\r\nJunction 10 ; the node\r\n[ Mains ]\r\npipe 10\r\n20\r\n20\r\n"
                                              "[Quoted]\r\n\"J 12\"\r\n[Empty]\r\n",
                                              "zones.txt", "zones", model);
    ASSERT_EQ(sets.size(), 4u);
    const ISelectionSetManager& manager = model.SelectionSetManager();
    EXPECT_EQ(manager.Element(sets[0])->Label(), "zones");  // labels before any section
    EXPECT_EQ(Members(model, sets[0]), (std::vector<std::int32_t>{network->NodeId("11"), network->NodeId("10")}));
    EXPECT_EQ(manager.Element(sets[1])->Label(), "Mains");
    EXPECT_EQ(Members(model, sets[1]), (std::vector<std::int32_t>{network->LinkId("10"), network->LinkId("20")}));
    EXPECT_EQ(Members(model, sets[2]), (std::vector<std::int32_t>{network->NodeId("J 12")}));
    EXPECT_TRUE(Members(model, sets[3]).empty());
}

TEST(SelectionSetFile, BadLinesFailNamingFileAndLineAndAddNothing) {
    const auto network = SharedLabels();
    DomainModel& model = network->Model();
    model.AddSelectionSet("Taken", {});
    const std::pair<const char*, const char*> cases[] = {
        {"[A]\n11\nJ99\n", "sets.txt:3: no element is labelled \"J99\""},
        {"[A]\n10\n", "sets.txt:2: \"10\" labels more than one element (Junction, Pipe); write the type before the label, e.g. \"Pipe 10\""},
        {"[A]\nPump 10\n", "sets.txt:2: no element of that type is labelled \"10\""},
        {"[A]\nHydrant 10\n", "sets.txt:2: no element type is labelled \"Hydrant\""},
        {"[A]\nPipe 10 extra\n", "sets.txt:2: expected one element label, optionally after its type, found 3 fields"},
        {"[A]\n[A]\n", "sets.txt:2: the set \"A\" is named twice in the file"},
        {"[Taken]\n", "sets.txt:1: the model already has a selection set named \"Taken\""},
        {"[North/South]\n", "sets.txt:1: the set name \"North/South\" is empty or holds"},
        {"[Open\n", "sets.txt:1: a set name needs a closing \"]\""},
    };
    for (const auto& [text, message] : cases) {
        try {
            SelectionSetFile::Parse(text, "sets.txt", "sets", model);
            ADD_FAILURE() << "no error for " << text;
        } catch (const ApplicationException& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(model.SelectionSetManager().Elements().size(), 1u);
    EXPECT_THROW(SelectionSetFile::Load(std::string(ALLOTRIX_TEST_DATA) + "/no-such-sets.txt", model),
                 Norvane::Support::FileNotFoundException);
}
