#include <gtest/gtest.h>

#include "host/host.h"

using namespace Norvane::Domain;
using Norvane::Support::ArgumentException;
using Norvane::Support::FieldValue;
using Norvane::Support::GeometryPoint;
using Norvane::Support::LengthUnit;
using Norvane::Support::PointArray;
using Norvane::Support::Unit;

namespace {

constexpr int kJunction = TypeId(NetworkElementType::Junction);
constexpr int kTank = TypeId(NetworkElementType::Tank);
constexpr int kPipe = TypeId(NetworkElementType::Pipe);

std::vector<std::string> Labels(const std::vector<const IDomainElementType*>& types) {
    std::vector<std::string> labels;
    for (const IDomainElementType* type : types) labels.push_back(type->Label());
    return labels;
}

}  // namespace

TEST(DomainModel, CatalogueManagersAndFieldsAnswerAsTheDataLayerAsks) {
    DomainModelBuilder builder(LengthUnit::Metre);
    const int hydrant = builder.AddElementType("HydrantElement", "Hydrant", DomainElementShapeType::Point, TypeId(NetworkElementType::Node));
    const auto j1 = builder.AddNode(kJunction, "J1", {0, 0});
    const auto t1 = builder.AddNode(kTank, "T1", {100, 0});
    const auto h1 = builder.AddNode(hydrant, "H1");  // no coordinates
    const auto p1 = builder.AddLink(kPipe, "P1", j1, t1, {{50, 20}});
    const auto p2 = builder.AddLink(kPipe, "P2", t1, h1);
    builder.SetValue(p1, FieldNames::Diameter, 300.0);
    auto model = builder.Build();

    const IDomainDataSetType& catalogue = model->DomainDataSetType();
    EXPECT_EQ(Labels(catalogue.DomainElementTypes(false)), (std::vector<std::string>{"Node", "Link"}));
    EXPECT_EQ(Labels(catalogue.DomainElementTypes(true)),
              (std::vector<std::string>{"Node", "Junction", "Reservoir", "Tank", "Link", "Pipe", "Pump", "Valve", "Hydrant"}));
    EXPECT_EQ(Labels(catalogue.DomainElementType(TypeId(NetworkElementType::Node))->SubElementTypes()),
              (std::vector<std::string>{"Junction", "Reservoir", "Tank", "Hydrant"}));
    EXPECT_TRUE(catalogue.DomainElementType(kPipe)->SubElementTypes().empty());

    // A Node manager holds every node; a type's manager only its own elements.
    IDomainElementManager& nodes = *model->DomainElementManager(TypeId(NetworkElementType::Node));
    EXPECT_EQ(nodes.ElementIDs(), (std::vector<std::int32_t>{j1, t1, h1}));
    EXPECT_EQ(model->DomainElementManager("HydrantElement")->ElementIDs(), (std::vector<std::int32_t>{h1}));
    EXPECT_EQ(model->DomainElementManager("Hydrant"), nullptr);  // by name, not label
    EXPECT_EQ(nodes.Element(t1)->Label(), "T1");
    EXPECT_EQ(nodes.Element(p1), nullptr);
    EXPECT_EQ(model->DomainElementTypeID(t1), kTank);
    EXPECT_EQ(model->DomainElementTypeID(999), 0);
    EXPECT_EQ(&nodes.DomainDataSet(), model.get());

    IDomainElementManager& pipes = *model->DomainElementManager(kPipe);
    auto& pipeGeometry = dynamic_cast<IGeometryPolylineField&>(*pipes.DomainElementField(kGeometryFieldName, kGeometryTableName));
    EXPECT_EQ(pipeGeometry.GetPoints(p1), (PointArray{{0, 0}, {50, 20}, {100, 0}}));
    EXPECT_TRUE(pipeGeometry.GetPoints(p2).empty());  // its hydrant has no coordinates
    EXPECT_TRUE(std::holds_alternative<std::monostate>(pipeGeometry.GetGeometry(p2)));
    EXPECT_THROW(pipeGeometry.GetPoints(j1), ArgumentException);
    pipeGeometry.SetWorkingUnit(Unit::FromLengthUnit(LengthUnit::Kilometre));
    EXPECT_EQ(pipeGeometry.GetPoints(p1)[1], (GeometryPoint{0.05, 0.02}));
    EXPECT_THROW(pipeGeometry.SetWorkingUnit(Unit::FromLengthUnit(LengthUnit::Degree)), ArgumentException);
    auto& nodeGeometry = dynamic_cast<IGeometryPointField&>(*nodes.DomainElementField(kGeometryFieldName, kGeometryTableName));
    EXPECT_EQ(nodeGeometry.GetPoint(t1), (GeometryPoint{100, 0}));  // each manager keeps its own working unit
    EXPECT_TRUE(nodeGeometry.GetPoint(h1).IsEmpty());

    EXPECT_EQ(pipes.ModelingElementField(FieldNames::Diameter)->GetValue(p1), FieldValue(300.0));
    EXPECT_TRUE(Norvane::Support::IsNull(pipes.ModelingElementField(FieldNames::Diameter)->GetValue(p2)));
    EXPECT_EQ(pipes.ModelingElementField(FieldNames::StartNodeId)->GetValue(p2), FieldValue(t1));
    EXPECT_EQ(pipes.DomainElementField(FieldNames::EndNode, "")->Name(), FieldNames::EndNode);
    EXPECT_EQ(pipes.ModelingElementField("NoSuchField"), nullptr);
    EXPECT_THROW(pipes.ModelingElementField(FieldNames::Label)->GetValue(0), ArgumentException);
    EXPECT_THROW(model->SetValue(p1, FieldNames::Label, std::string("renamed")), ArgumentException);
}

TEST(DomainModel, SelectionSetsTakeIdsNoElementHasAndRefuseBadLabels) {
    DomainModelBuilder builder;
    const auto j1 = builder.AddNode(kJunction, "J1", {0, 0});
    const auto j2 = builder.AddNode(kJunction, "J2", {1, 0});
    const auto p1 = builder.AddLink(kPipe, "P1", j1, j2);
    auto model = builder.Build();

    const auto zone = model->AddSelectionSet("Zone A", {p1, j2});
    EXPECT_GT(zone, p1);
    ISelectionSetManager& sets = model->SelectionSetManager();
    EXPECT_EQ(sets.Element(zone)->Label(), "Zone A");
    EXPECT_EQ(sets.SelectionSetField(kSelectionSetElementIDsField)->GetValue(zone), (std::vector<std::int32_t>{p1, j2}));
    EXPECT_EQ(sets.SelectionSetField("Other"), nullptr);
    EXPECT_THROW(sets.SelectionSetField(kSelectionSetElementIDsField)->GetValue(j1), ArgumentException);
    EXPECT_GT(model->AddSelectionSet("Zone B", {}), zone);
    for (const char* bad : {"", "Zone A", "North/South", "a\\b"}) EXPECT_THROW(model->AddSelectionSet(bad, {j1}), ArgumentException) << bad;
    EXPECT_THROW(model->AddSelectionSet("Zone C", {42}), ArgumentException);
    EXPECT_EQ(sets.Elements().size(), 2u);

    DomainModelBuilder bad;
    const auto node = bad.AddNode(kJunction, "N", {0, 0});
    EXPECT_THROW(bad.AddNode(kPipe, "X"), ArgumentException);
    EXPECT_THROW(bad.AddNode(kJunction, "X", {std::nan(""), 0}), ArgumentException);
    EXPECT_THROW(bad.AddLink(kPipe, "X", node, 7), ArgumentException);
    EXPECT_THROW(bad.AddLink(kPipe, "X", node, node, {{0, INFINITY}}), ArgumentException);
    EXPECT_THROW(bad.AddElementType("Junction", "J", DomainElementShapeType::Point), ArgumentException);
    EXPECT_THROW(bad.AddElementType("Area", "Area", DomainElementShapeType::Polygon, kPipe), ArgumentException);
}
